// Tavrel Demo: the start-up as the player chose in the set-up utility, the frame loop, and the
// keys that pause, take screenshots and quit.
#include "demo.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdio>

namespace {

const char help[] =
    "Tavrel Demo: a small game on the Tavrel engine that starts as the player chose in Tavrel\n"
    "Setup: walk a stone floor and collect the gems lying on it.\n"
    "\n"
    "It reads hwconfig.cfg in GAME_FOLDER, or in the player's folder with --player-folder\n"
    "(else in the working directory), and never writes it: the window's size and full-screen\n"
    "mode, the mouse held unless \"Mouse Unlocked\", the joystick, the texture detail, whether\n"
    "its text shows (\"Interface\") and the text's colour follow the stored choices, and with\n"
    "\"Sound\" on music or a calm chord loops, lowered while paused, and every gem chimes (no\n"
    "sound device is opened with it off). The floor is floor.tga, floor.png or floor.bmp from\n"
    "the game folder's texture folder, or from texturelow for low texture detail, else the\n"
    "floor.bmp installed with the engine's data;\n"
    "the music is music.ogg from its sound folder, and the chord and chime ambient.wav and\n"
    "gem.wav from there, else those installed.\n"
    "Screenshots (scsht000.bmp onward) are written into the game folder.\n"
    "\n"
    "Keys:\n"
    "  W, Up         walk forward\n"
    "  S, Down       walk back\n"
    "  A, D          step to the left and to the right\n"
    "  Left, Right   turn\n"
    "  mouse         look about, while the mouse is held\n"
    "  joystick      walk and turn, when the joystick is on; a second stick looks about\n"
    "  Tab           open and close the pause menu: the player's name, mouse look inverted,\n"
    "                the frame rate shown\n"
    "  P             take a screenshot\n"
    "  F12           let the mouse go and minimise the window\n"
    "  Escape        quit (while the name is typed, Escape ends the typing)\n"
    "\n"
    "Options:\n"
    "  GAME_FOLDER      the game folder to play in instead of the working directory\n"
    "  --player-folder  work in the player's own folder, $XDG_DATA_HOME/tavrel\n"
    "                   (~/.local/share/tavrel by default), made when missing: where\n"
    "                   menu starts keep their folder\n"
    "  -h, --help       show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Exit status: 0 after Escape or the window's close button; 1 when the window or\n"
    "GAME_FOLDER or the player's folder could not be opened; 2 for an argument it does not\n"
    "know.\n";

constexpr float skyred = 0.25f, skygreen = 0.35f, skyblue = 0.55f;
constexpr float longestframe = 0.1f;  // a longer frame (a focus change, a stall) moves this far
constexpr int framespersecond = 60;   // enough for the demo; the rest of the machine is left free

bool quitasked;
bool screenshotasked;

// asleep while the name is typed: the Escape that ends the typing, the Tab and P typed into it
// are the field's
void checkgamekeys(bool typing)
{
  if (typing)
    return;
  if (keypressed(key_escape))
    quitasked = true;
  if (keypressed(key_tab))
    paused = !paused;
  if (keypressed(key_p))
    screenshotasked = true;
}

void play()
{
  const float seconds = std::min(frametime, longestframe);
  playseconds += seconds;
  moveplayer(seconds);
  collectnearbygems();
}

void reportscreenshot(int written)
{
  if (written)
    showmessage("Saved %s", screenshotname);
  else
    showmessage("Cannot write a screenshot here");
}

void runframe()
{
  buildpausemenu();
  setmouselook(!paused);  // the pause menu's pointer follows where the player points
  if (!beginframe())
    return;  // the window could not be set up again after a focus change
  checkgamekeys(prevmenuinputkeyboard);
  quietenunderpause(paused);
  if (!paused)
    play();
  glClearColor(skyred, skygreen, skyblue, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  drawworld();
  setuptextdisplay();
  drawhud();
  if (paused)
    drawpausemenu();
  else
    numofmenuitems = 0;  // a menu closed in this frame shows no more
  const int written = endframe(paused, screenshotasked);
  if (screenshotasked)
    reportscreenshot(written);
  screenshotasked = false;
}

}  // namespace

int main(int argc, char **argv)
{
  const int status = readprogramarguments(argc, argv, "tavrel-demo", help);
  if (status >= 0)
    return status;
  if (!setupgame("Tavrel Demo")) {
    fprintf(stderr, "tavrel-demo: %s\n", setupfailure());
    return 1;
  }
  framecap = framespersecond;
  setupfloor();
  setupsounds();
  startgame();
  while (!quitasked && !windowinfo.quit)
    runframe();
  shutdownengine();
  return windowinfo.graphics ? 0 : 1;
}
