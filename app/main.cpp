// Tavrel Setup: start-up, the frame loop of the one set-up screen, and the shutdown that stores
// the player's choices in "hwconfig.cfg".
#include "engine.h"
#include "savefailure.h"
#include "setupscreen.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdio>
#include <cstring>

static const char help[] =
    "Tavrel Setup: choose the screen resolution, full-screen mode, mouse, sound, interface,\n"
    "text colour and texture detail of the game Tavrel.\n"
    "\n"
    "The choices are read from hwconfig.cfg in GAME_FOLDER, or in the player's folder with\n"
    "--player-folder (else in the working directory), where the game reads them, and stored\n"
    "there when you leave with Done, Escape or the window's close button; when they cannot be,\n"
    "the window says why until a key, a click or the close button. The window's font and\n"
    "icon (font.bmp, tvr.bmp) are taken from the game folder when it holds them, else from the\n"
    "installed data folder, else from the program's folder.\n"
    "\n"
    "Keys:\n"
    "  1 to 4    resolution 640x480, 800x600, 1024x768, 1280x960\n"
    "  F         full screen\n"
    "  M         mouse unlocked\n"
    "  S         sound\n"
    "  I         interface\n"
    "  T         the text colour bars (drag along a bar; Ctrl snaps, Shift sets all three)\n"
    "  Escape    store the choices and close\n"
    "  F12       let the mouse go and minimise the window\n"
    "\n"
    "Options:\n"
    "  GAME_FOLDER      the game's folder, to work in instead of the working directory\n"
    "  --player-folder  work in the player's own folder, $XDG_DATA_HOME/tavrel\n"
    "                   (~/.local/share/tavrel by default), made when missing: where\n"
    "                   menu starts keep their folder\n"
    "  -h, --help       show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Exit status: 0 when the choices were stored; 1 when they could not be, or the window or\n"
    "GAME_FOLDER or the player's folder could not be opened; 2 for an argument it does not\n"
    "know.\n";

static void reportfailure(const char *what, const char *why)
{
  fprintf(stderr, "tavrel-setup: %s: %s\n", what, why);
}

// everything up to the first frame; 0 when there is no window to draw into
static int startup()
{
  loadconfig();
  // the set-up window is always 640x480 and windowed, whatever the stored configuration says
  if (!setupengine("Tavrel Setup", 640, 480, 0)) {
    fprintf(stderr, "tavrel-setup: %s\n", setupfailure());
    return 0;
  }
  return 1;
}

// one frame, in a fixed order: the choices made by this frame's input are drawn in it
static void runframe()
{
  buildsetupscreen();
  if (!beginframe())
    return;  // the window could not be set up again after a focus change: draw nothing
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  // the bars draw under the previous frame's 2-D set-up, before this frame's text
  if (textcolor) {
    bindeditbars();
    checkeditbars();
    rendereditbars();
  }
  setuptextdisplay();
  drawsetupheading();
  endframe(1);
}

// stores the choices and closes down, showing first why they could not be stored unless a
// logout's signal ended the program; the process's exit status
static int shutdown()
{
  int status = 0;
  if (!windowinfo.graphics) {
    reportfailure("lost the 640x480 OpenGL window", SDL_GetError());
    status = 1;
  }
  config.height = settledheight(config.width, config.height);  // the game's follows its width
  if (int error = saveconfig()) {
    reportfailure("cannot save hwconfig.cfg", strerror(error));
    status = 1;
    showsavefailure(strerror(error));
  }
  shutdownengine();
  return status;
}

int main(int argc, char **argv)
{
  const int status = readprogramarguments(argc, argv, "tavrel-setup", help);
  if (status >= 0)
    return status;
  if (!startup())
    return 1;
  // "Done" is slot 0; its activation, like a quit request, ends the loop before the next frame
  while (!menuitem[0].active && !windowinfo.quit)
    runframe();
  return shutdown();
}
