// Tavrel Demo: a small game that starts as the player chose in the set-up utility: a walk on a
// stone floor to collect the gems lying on it, with a pause menu. This header ties its parts
// together.
#pragma once

#include "engine.h"

// [SECTION] world, in floor units: the floor lies at height 0, from -floorhalf to floorhalf
// across and along
constexpr float floorhalf = 16;
constexpr float eyeheight = 1.6f;

struct playerstate {
  float x, z;     // where the player stands
  float heading;  // radians turned to the left from looking along -z
  float pitch;    // radians looked up, negative down
};
extern playerstate player;

constexpr int numofgems = 8;
struct gemrecord {
  float x, z;              // where it lies
  float red, green, blue;  // its colour
  int32_t collected;
};
extern gemrecord gem[numofgems];
extern int32_t score;       // gems collected
extern float playseconds;   // time played, the pauses left out: the gems turn by it

// [SECTION] options the pause menu changes
extern int32_t paused;
extern int32_t invertmouse;    // moving the mouse up looks down
extern int32_t showframerate;
extern char playername[menuinputsize];

// [SECTION] the game's moments, each in one place
// the player on the start place, every gem on the floor, the score 0
void startgame();
// a gem leaves the floor and counts; the last one ends the hunt
void collectgem(int which);

// [SECTION] play (world.cpp)
// one frame of walking, turning and mouse look, for that many seconds of play
void moveplayer(float seconds);
// every gem the player walks into is collected
void collectnearbygems();

// [SECTION] view (view.cpp)
constexpr int floorslot = 1;
// a data file installed with the engine (found as its font is), read whole; false when none is
bool readdatafile(const char *name, filebytes &file);
// the floor texture "floor" of the game folder (floor.tga, else floor.bmp, from "texture" or
// "texturelow" as the player chose), else the one installed with the engine's data
void setupfloor();
// the floor and the gems from the player's eye
void drawworld();

// [SECTION] interface over the world (hud.cpp)
// a message under the score for a few seconds; formatted as printf does
void showmessage(const char *format, ...) __attribute__((format(printf, 1, 2)));
// the score, the map, the message, the frame rate when asked for and the keys, in the interface
// colour; nothing while the interface is off
void drawhud();

// [SECTION] sound (sounds.cpp)
constexpr const char *musicfilename = "music.ogg";  // in the game folder's "sound" folder
// loads the chime and starts the music, looping, or the ambient chord where there is no music;
// nothing with "Sound" off
void setupsounds();
// the chime of a gem collected
void playchime();
// the music or chord lowered while paused, at its own volume again after
void quietenunderpause(bool paused);

// [SECTION] pause menu (pausemenu.cpp)
// this frame's menu items: none while playing
void buildpausemenu();
// the world dimmed, the title and the keys, under the items and the pointer that end the frame
void drawpausemenu();
