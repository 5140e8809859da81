// The pause menu (Escape, or the pad's start button): the engine's menu items, made anew each
// frame in the player's interface colour: Resume, the music on or off, the difficulty, the
// player's name and Quit, for the mouse, the keys or the pad; and the music, which follows the
// menu's toggle and is lowered while the menu shows.
#include "arena.h"

#include <cstdio>
#include <iterator>

int32_t paused;
float quitleft = -1;

namespace {

constexpr int menux = 112;  // the captions' left edge; the toggle's and radio items' marks before it
constexpr const char *musicfile = "music.ogg";  // in the "sound" folder
constexpr float pausedmusicvolume = 0.3f;

// the difficulty's radio items, in the order of their values
const struct {
  const char *caption;
  int x, hotkey;
} difficulties[] = {
    {"Easy", menux, key_e}, {"Normal", menux + 112, key_n}, {"Hard", menux + 256, key_h}};
constexpr int difficultyy = 216;

int32_t musicfollowed = -1;  // the toggle as the music last followed it; -1 before the first time

// the game goes on to the end of the fade-out of the music and the screen
void quit()
{
  paused = 0;
  quitleft = quitseconds;
  fadeoutmusic(quitseconds);
}

// an item that answers its hotkey, whose letter the engine draws brighter in the caption
void additem(const char *caption, int x, int y, int hotkey)
{
  createmenuitem(caption, x, y, 16, config.textred, config.textgreen, config.textblue);
  setmenuitem(optionhotkey, hotkey);
}

}  // namespace

void buildpausemenu()
{
  numofmenuitems = 0;
  if (!paused)
    return;
  additem("Resume", menux, 152, key_r);
  setmenuback();  // what Escape and the pad's east button choose
  if (menuclicked())
    paused = 0;
  additem("Music", menux, 184, key_m);
  setmenutoggle(&musicon);
  for (int value = 0; value < int(std::size(difficulties)); ++value) {
    additem(difficulties[value].caption, difficulties[value].x, difficultyy,
            difficulties[value].hotkey);
    setmenuradio(&difficulty, value);
  }
  additem("Your name", menux, 256, key_y);
  setmenufieldwidth(25);  // in a row under the caption
  setmenutextfield(playername, sizeof playername);
  additem("Quit", menux, 312, key_q);
  if (menuclicked())
    quit();
}

void drawpausemenu()
{
  drawrectangle(0, 0, 640, 480, 0, 0, 0, 0.5f);
  drawrectangle(64, 96, 512, 272, 0.08f, 0.1f, 0.16f, 0.9f);
  drawrectangleoutline(64, 96, 512, 272, 2, config.textred, config.textgreen, config.textblue, 1);
  drawinterfacetext("Paused", 320 | aligncentre, 112, 24, 1);
  drawinterfacetext("Escape: back to the arena", 320 | aligncentre, 348, 8, 0.8f);
}

void followmusic()
{
  if (musicon != musicfollowed) {
    musicfollowed = musicon;
    if (!musicon)
      stopmusic();
    else if (!playmusic(musicfile, 1) && config.sound)
      fprintf(stderr, "arena: %s: %s\n", musicfile, musicerror());
  }
  setmusicvolume(paused ? pausedmusicvolume : 1);
}
