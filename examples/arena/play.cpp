// Play: the ship steered by the keyboard or the first gamepad, the saw blades drifting and bouncing
// about the arena, the shots, and what a hit does, its sound panned to where it happened.
#include "arena.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <random>
#include <utility>

shiprecord ship;
bladerecord blade[maxblades];
shotrecord shot[maxshots];
int32_t score, lives;

namespace {

enum soundslots { shotsound, hitsound };

constexpr float pi = 3.14159265f;
constexpr float turnspeed = 240;   // degrees a second, the stick or key held fully
constexpr float thrust = 500;      // pixels a second, gained each second
constexpr float drag = 1.5f;       // the share of its speed the ship loses in a second, as a rate
constexpr float shotspeed = 520;
constexpr float shipradius = 11, bladeradius = 13;  // what touches, in pixels
constexpr int startlives = 3;
// by difficulty: how many blades fly at once, and how fast, in pixels a second
constexpr int bladesflying[] = {4, 6, 8};
constexpr float bladespeed[] = {60, 90, 130};
const float bladecolour[][3] = {
    {1, 0.55f, 0.2f}, {1, 0.35f, 0.55f}, {0.45f, 1, 0.5f}, {0.55f, 0.75f, 1}, {1, 0.9f, 0.3f}};

std::mt19937 randomness{std::random_device{}()};

float randomfloat(float low, float high)
{
  return std::uniform_real_distribution<float>(low, high)(randomness);
}

struct controls {
  float turn;  // -1 left to 1 right
  float push;  // -1 back to 1 forward
  bool fire;   // pressed in this frame
};

float direction(bool positive, bool negative)
{
  return float(positive) - float(negative);
}

controls readkeyboard()
{
  controls c;
  c.turn = direction(keyboard[key_right] || keyboard[key_d], keyboard[key_left] || keyboard[key_a]);
  c.push = direction(keyboard[key_up] || keyboard[key_w], keyboard[key_down] || keyboard[key_s]);
  c.fire = keypressed(firekey);
  return c;
}

// the first pad by its named controls, whatever pad it is: the left stick (y down) or the d-pad
// steers, the bottom face button fires; the engine has taken off the stick's dead zone
void readgamepad(controls &c)
{
  const namedpadstate &pad = namedpad[0];
  c.turn += pad.axis[padleftx] + direction(pad.button[paddpadright], pad.button[paddpadleft]);
  c.push -= pad.axis[padlefty];
  c.push += direction(pad.button[paddpadup], pad.button[paddpaddown]);
  if (padpressed(0, padsouth))
    c.fire = true;
}

// in through the top or the bottom wall, whichever is farther from the ship, at a slant
void launch(bladerecord &b)
{
  const bool fromtop = ship.y > (arenatop + arenabottom) / 2;
  const float speed = bladespeed[difficulty] * (1 + float(score) / 1000);  // faster as you score
  const float slant = randomfloat(-1, 1);  // radians from straight across
  const float *colour = bladecolour[randomness() % std::size(bladecolour)];
  b = {randomfloat(arenaleft, arenaright), fromtop ? arenatop : arenabottom,
       speed * std::sin(slant), speed * std::cos(slant) * (fromtop ? 1 : -1), 0,
       randomfloat(-360, 360), colour[0], colour[1], colour[2], 1, 0};
}

// as many blades flying as the difficulty says, which the menu may change in a game
void keepbladesflying()
{
  for (int i = 0; i < maxblades; ++i) {
    const bool wanted = i < bladesflying[difficulty];
    if (wanted && !blade[i].alive)
      launch(blade[i]);
    blade[i].alive = wanted;
  }
}

void steership(const controls &c, float seconds)
{
  ship.heading = std::fmod(ship.heading + c.turn * turnspeed * seconds + 360, 360);
  const float radians = ship.heading * pi / 180;
  ship.vx += std::sin(radians) * c.push * thrust * seconds;
  ship.vy -= std::cos(radians) * c.push * thrust * seconds;
  const float kept = std::exp(-drag * seconds);
  ship.vx *= kept;
  ship.vy *= kept;
  ship.x = std::clamp(ship.x + ship.vx * seconds, arenaleft + shipradius, arenaright - shipradius);
  ship.y = std::clamp(ship.y + ship.vy * seconds, arenatop + shipradius, arenabottom - shipradius);
}

// a shot from the ship's nose, if one of the shots is free
void fire()
{
  for (shotrecord &s : shot)
    if (!s.alive) {
      const float radians = ship.heading * pi / 180;
      const float dx = std::sin(radians), dy = -std::cos(radians);
      s = {ship.x + dx * 16, ship.y + dy * 16, dx * shotspeed, dy * shotspeed, ship.heading, 1};
      playsound(shotsound, -1, 0.5f, s.x / 320 - 1, 0);  // heard from -1, left, to 1, right
      return;
    }
}

void moveshots(float seconds)
{
  for (shotrecord &s : shot) {
    s.x += s.vx * seconds;
    s.y += s.vy * seconds;
    if (s.x < arenaleft || s.x > arenaright || s.y < arenatop || s.y > arenabottom)
      s.alive = 0;
  }
}

// off the walls like a ball, spinning as they go; one that broke up comes in anew after it
void moveblades(float seconds)
{
  for (bladerecord &b : blade) {
    if (b.breaking > 0) {
      b.breaking -= seconds;
      if (b.breaking <= 0)
        launch(b);
      continue;
    }
    b.x += b.vx * seconds;
    b.y += b.vy * seconds;
    b.turn = std::fmod(b.turn + b.spin * seconds + 360, 360);
    if ((b.x < arenaleft + bladeradius && b.vx < 0) || (b.x > arenaright - bladeradius && b.vx > 0))
      b.vx = -b.vx;
    if ((b.y < arenatop + bladeradius && b.vy < 0) || (b.y > arenabottom - bladeradius && b.vy > 0))
      b.vy = -b.vy;
  }
}

// the blade breaks up where it is, with the hit's sound from there
void breakblade(bladerecord &b)
{
  b.breaking = breakingseconds;
  playsound(hitsound, -1, 0.8f, b.x / 320 - 1, 0);
}

// whole, in the arena, and nearer (x, y) than reach beyond its rim
bool touches(const bladerecord &b, float x, float y, float reach)
{
  return b.alive && b.breaking <= 0 && std::hypot(x - b.x, y - b.y) < bladeradius + reach;
}

void checkhits()
{
  for (bladerecord &b : blade) {
    for (shotrecord &s : shot)
      if (s.alive && touches(b, s.x, s.y, 3)) {
        s.alive = 0;
        score += 10 * (difficulty + 1);
        bestscore = std::max(bestscore, score);
        breakblade(b);
      }
    if (lives > 0 && touches(b, ship.x, ship.y, shipradius)) {
      --lives;
      breakblade(b);
    }
  }
}

}  // namespace

void loadsounds()
{
  for (auto [slot, name] : {std::pair{shotsound, "shot.wav"}, {hitsound, "hit.wav"}})
    if (!loadsound(slot, name) && config.sound)
      fprintf(stderr, "arena: %s: %s\n", name, soundloaderror());
}

void startgame()
{
  ship = {320, 240, 0, 0, 0};
  score = 0;
  lives = startlives;
  for (shotrecord &s : shot)
    s.alive = 0;
  for (bladerecord &b : blade)
    b.alive = 0;
  keepbladesflying();
}

void play(float seconds)
{
  controls c = readkeyboard();
  readgamepad(c);
  c.turn = std::clamp(c.turn, -1.0f, 1.0f);
  c.push = std::clamp(c.push, -1.0f, 1.0f);
  moveblades(seconds);
  if (lives == 0) {
    if (c.fire)
      startgame();
    return;
  }
  steership(c, seconds);
  if (c.fire)
    fire();
  moveshots(seconds);
  keepbladesflying();
  checkhits();
}
