// The game itself: the player walking, turning and looking about (keys, mouse and joystick), the
// gems, the score, and the two moments that a sound will mark, the start and a gem collected.
#include "demo.h"

#include <algorithm>
#include <cmath>

playerstate player;
gemrecord gem[numofgems];
int32_t score;
float playseconds;

namespace {

constexpr float walkspeed = 5;              // floor units a second
constexpr float turnspeed = 2;              // radians a second
constexpr float looksensitivity = 0.0025f;  // radians a pixel of mouse motion
constexpr float steepestlook = 1.2f;        // radians up or down
constexpr float reach = 1;                  // a gem this near is walked into
constexpr float walledge = floorhalf - 0.5f;
constexpr float stickrest = 0.2f;           // a stick deflected less than this stands still

constexpr playerstate startplace = {0, 10, 0, 0};

// where the gems lie and their colours: a few ahead of the start place, the rest about the floor
const gemrecord gemplaces[numofgems] = {
    {-3, 4, 1.0f, 0.8f, 0.2f, 0},   {4, 0, 0.3f, 0.9f, 1.0f, 0},   {-7, -4, 1.0f, 0.3f, 0.5f, 0},
    {9, -9, 0.5f, 1.0f, 0.4f, 0},   {1, -7, 0.8f, 0.5f, 1.0f, 0},  {-12, -12, 1.0f, 0.6f, 0.2f, 0},
    {12, 6, 0.4f, 0.7f, 1.0f, 0},   {-13, 9, 1.0f, 1.0f, 0.5f, 0},
};

// 1, 0 or -1: which of two opposite directions is held
float direction(bool positive, bool negative)
{
  return float(positive) - float(negative);
}

// an axis's reading from -1 to 1, 0 near its centre
float deflection(int32_t reading)
{
  const float deflection = float(reading) / 32768;
  return std::fabs(deflection) < stickrest ? 0 : deflection;
}

float stick(int axis)
{
  return deflection(joystick.axis[axis]);
}

// the second stick's across and up-down axes: a pad of six axes or more has its triggers at 2 and
// 5, one of four has the stick at 2 and 3; -1 when the first joystick has no second stick
int lookaxis(int which)
{
  const int axes = gamepad[0].numofaxes;
  if (axes >= 6)
    return 3 + which;
  return axes == 4 ? 2 + which : -1;
}

float lookstick(int which)
{
  const int axis = lookaxis(which);
  return axis < 0 ? 0 : deflection(gamepad[0].axis[axis]);
}

int gemsleft()
{
  return int(std::count_if(gem, gem + numofgems, [](const gemrecord &g) { return !g.collected; }));
}

}  // namespace

void startgame()
{
  player = startplace;
  std::copy(gemplaces, gemplaces + numofgems, gem);
  score = 0;
  playseconds = 0;
  showmessage("Welcome, %s: walk into the %d gems", playername, numofgems);
}

void collectgem(int which)
{
  gem[which].collected = 1;
  ++score;
  playchime();
  const int left = gemsleft();
  if (left > 0)
    showmessage("A gem! %d to go", left);
  else
    showmessage("Every gem found in %d seconds, %s", int(playseconds), playername);
}

void moveplayer(float seconds)
{
  // the arrows and the stick turn, so that a player without a held mouse can look about
  const float turn = direction(keyboard[key_left], keyboard[key_right]) - stick(0) - lookstick(0);
  player.heading += std::clamp(turn, -1.0f, 1.0f) * turnspeed * seconds;
  player.heading -= float(mousemotion.x) * looksensitivity;
  const float lookdown =
      float(mousemotion.y) * looksensitivity + lookstick(1) * turnspeed * seconds;
  player.pitch = std::clamp(player.pitch + (invertmouse ? lookdown : -lookdown), -steepestlook,
                            steepestlook);

  const float ahead = direction(keyboard[key_w] || keyboard[key_up],
                               keyboard[key_s] || keyboard[key_down]) - stick(1);
  const float forward = std::clamp(ahead, -1.0f, 1.0f) * walkspeed * seconds;
  const float right = direction(keyboard[key_d], keyboard[key_a]) * walkspeed * seconds;
  const float c = std::cos(player.heading), s = std::sin(player.heading);
  player.x = std::clamp(player.x - s * forward + c * right, -walledge, walledge);
  player.z = std::clamp(player.z - c * forward - s * right, -walledge, walledge);
}

void collectnearbygems()
{
  for (int i = 0; i < numofgems; ++i) {
    const float dx = gem[i].x - player.x, dz = gem[i].z - player.z;
    if (!gem[i].collected && dx * dx + dz * dz < reach * reach)
      collectgem(i);
  }
}
