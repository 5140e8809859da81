// Drawing: the sprites, PNGs from "texture" (or their half-size twins from "texturelow" at low
// texture detail, drawn at the same size), the arena, and the interface in the player's colour.
#include "arena.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// the sprites' sizes in the pixels of their full-detail pictures, which drawsprite takes at either
// texture detail
constexpr float shipside = 32, bladeside = 32, shotwidth = 8, shotheight = 16;
constexpr float gridstep = 32;
constexpr int panelx = 16, panely = 16;  // the score panel's top-left corner
constexpr float lifescale = 0.5f;  // the ships in the score panel that count the lives left

void drawfloor()
{
  clearscreen(0.05f, 0.06f, 0.09f);
  setupscreen2d();
  for (float x = arenaleft + gridstep; x < arenaright; x += gridstep)
    drawline(x, arenatop, x, arenabottom, 1, 0.3f, 0.4f, 0.6f, 0.25f);
  for (float y = arenatop + gridstep; y < arenabottom; y += gridstep)
    drawline(arenaleft, y, arenaright, y, 1, 0.3f, 0.4f, 0.6f, 0.25f);
  drawrectangleoutline(0, 0, 640, 480, arenaleft, 0.35f, 0.45f, 0.7f, 1);  // the wall
}

// turning in its colour, or, breaking up, swelling and fading out
void drawblade(const bladerecord &b)
{
  const float broken = b.breaking > 0 ? 1 - b.breaking / breakingseconds : 0;
  drawsprite(bladeslot, 0, 0, bladeside, bladeside, b.x, b.y, 1 + 2 * broken, b.turn + 90 * broken,
             b.red, b.green, b.blue, 1 - broken);
}

// the score, the player's name and best score, and the lives, on a translucent panel sized to fit
void drawscorepanel()
{
  int scorewidth, scoreheight, namewidth, nameheight;
  measuretext(&scorewidth, &scoreheight, "Score /05i", 16, score);
  measuretext(&namewidth, &nameheight, "/s   best /i", 8, playername, bestscore);
  const float width = float(std::max(scorewidth, namewidth) + 16);
  const float height = float(scoreheight + nameheight + 40);  // the lives' row below the text
  drawrectangle(panelx, panely, width, height, 0, 0, 0, 0.55f);
  drawrectangleoutline(panelx, panely, width, height, 1, config.textred, config.textgreen,
                       config.textblue, 0.8f);
  drawinterfacetext("Score /05i", panelx + 8, panely + 8, 16, 1, score);
  drawinterfacetext("/s   best /i", panelx + 8, panely + 30, 8, 1, playername, bestscore);
  for (int life = 0; life < lives; ++life)
    drawsprite(shipslot, 0, 0, shipside, shipside, panelx + 16 + 20 * float(life),
               panely + height - 16, lifescale, 0, 1, 1, 1, 1);
}

const char *firekeyname()
{
  return keyboardlabel[firekey][0] ? keyboardlabel[firekey] : "the fire key";
}

void drawgameover()
{
  drawrectangle(0, 176, 640, 112, 0, 0, 0, 0.55f);  // a band that keeps the words readable
  drawinterfacetext("Game over", 320 | aligncentre, 192, 32, 1);
  drawinterfacetext("Score /i   best /i", 320 | aligncentre, 240, 16, 1, score, bestscore);
  drawinterfacetext("/s or pad button 1: play again", 320 | aligncentre, 272, 8, 1,
                    firekeyname());
}

}  // namespace

void loadsprites()
{
  for (auto [slot, name] :
       {std::pair{shipslot, "ship.png"}, {bladeslot, "blade.png"}, {shotslot, "shot.png"}}) {
    loadtexturepng(slot, name, 1);
    if (!texture[slot].width)
      fprintf(stderr, "arena: %s: %s\n", name, textureloaderror());
  }
}

void drawarena()
{
  drawfloor();
  for (const bladerecord &b : blade)
    if (b.alive)
      drawblade(b);
  for (const shotrecord &s : shot)
    if (s.alive)
      drawsprite(shotslot, 0, 0, shotwidth, shotheight, s.x, s.y, 1, s.heading, 1, 1, 1, 1);
  if (lives > 0)
    drawsprite(shipslot, 0, 0, shipside, shipside, ship.x, ship.y, 1, ship.heading, 1, 1, 1, 1);
}

void drawinterface()
{
  if (lives == 0)  // the end of a game shows with the interface off too: it says what to do
    drawgameover();
  if (!config.interface)
    return;
  drawscorepanel();
  if (!paused)  // the menu says its own keys
    drawinterfacetext("Arrows or W A S D: steer   /s: fire   Escape: menu", 320 | aligncentre,
                      460, 8, 0.8f, firekeyname());
}
