// Arena, the engine's example game: a ship in a walled arena turns, thrusts and shoots the saw
// blades that drift about it. This header ties its four files together.
#pragma once

#include <tavrel/engine.h>

// [SECTION] the arena: the whole virtual screen (640x480, y down) inside its wall
constexpr float arenaleft = 8, arenatop = 8, arenaright = 632, arenabottom = 472;

struct shiprecord {
  float x, y, vx, vy;  // where it is and how fast it goes, in pixels and pixels a second
  float heading;       // degrees clockwise from straight up, as drawsprite turns a sprite
};
extern shiprecord ship;

constexpr int maxblades = 8;
struct bladerecord {
  float x, y, vx, vy;
  float turn, spin;  // degrees turned, and degrees a second
  float red, green, blue;
  int32_t alive;
  float breaking;  // seconds left of its breaking up after a hit: it swells and fades out
};
extern bladerecord blade[maxblades];
constexpr float breakingseconds = 0.4f;

constexpr int maxshots = 12;
struct shotrecord {
  float x, y, vx, vy, heading;
  int32_t alive;
};
extern shotrecord shot[maxshots];

extern int32_t score, lives;

// [SECTION] the player's options (main.cpp), kept in options.txt in the game's folder
constexpr int playernamesize = 32;
extern char playername[playernamesize];
extern int32_t difficulty;  // 0 easy, 1 normal, 2 hard
extern int32_t musicon;
extern int32_t firekey;
extern int32_t bestscore;
// writes options.txt; says why on standard error when it cannot
void saveoptions();

// [SECTION] play (play.cpp)
// loads the shot's and the hit's sounds from the "sound" folder
void loadsounds();
// a new game: the ship in the middle, three lives, no score, the blades coming in
void startgame();
// one step of play of that many seconds: the controls, the motion, the hits; after the last life,
// the blades drift on and the fire button starts a new game
void play(float seconds);

// [SECTION] drawing (draw.cpp)
// drawtext in the player's interface colour, from Tavrel Setup's "Text Color"
template <typename... values>
void drawinterfacetext(const char *text, int x, int y, int size, float alpha, values... value)
{
  drawtext(text, x, y, size, config.textred, config.textgreen, config.textblue, alpha, value...);
}
enum spriteslots { shipslot = 1, bladeslot, shotslot };
// loads the sprites' PNGs into their texture slots
void loadsprites();
// the floor, the wall, the blades, the shots and the ship
void drawarena();
// the score panel and the keys, in the player's interface colour, while the interface is on; the
// end of a game, always
void drawinterface();

// [SECTION] pause menu (menu.cpp)
extern int32_t paused;
constexpr float quitseconds = 1;  // after Quit, the music and the screen fade out over this time
extern float quitleft;            // seconds of that fade-out to go; negative while playing
// this frame's menu items, before beginframe: none while playing
void buildpausemenu();
// the arena dimmed and the menu's title, under the items that endframe draws
void drawpausemenu();
// the music as the menu's toggle says, lowered while the menu shows
void followmusic();
