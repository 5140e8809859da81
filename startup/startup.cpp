// The engine's start-up and shutdown: the window opened and every part readied in the one order
// that works, so that a program gets it right by making one call.
#include "startup/startup.h"

#include "draw/draw.h"
#include "files/files.h"
#include "files/messages.h"
#include "menu/menu.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "platform/variables.h"
#include "sound/sound.h"
#include "startup/display.h"
#include "texture/texture.h"

#include <SDL.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

static char failure[256];
static bool moderefused;  // the last setupengine failed at the video mode, not before it

// without a window, loads from here on fill the table without reaching for GL, and a signal ends
// the program as it would have before
static int fail(const char *what)
{
  snprintf(failure, sizeof failure, "%s: %s", what, SDL_GetError());
  setgraphics(0);
  shutdownquitsignals();
  return 0;
}

static void setupwindowinfo(int width, int height, int fullscreen)
{
  windowinfo.width = width;
  windowinfo.height = height;
  windowinfo.bits = 16;
  windowinfo.fullscreen = fullscreen;
  setgraphics(1);
  windowinfo.active = 1;
}

static void setupicon()
{
  const std::string path = finddatafile(iconfilename);
  if (!path.empty())
    setwindowicon(path.c_str());
}

// setupengine, for a fixed window or for the size a game's player stored
static int openengine(const char *caption, int width, int height, int fullscreen, bool fixed)
{
  choosevideodriver();
  const bool grows = fixed && !fullscreen;
  const bool scaling = choosescalemethod(grows);
  moderefused = false;
  setupquitsignals();  // before the platform's own, which would drop a signal during its start
  if (!startplatformvideo())
    return fail("cannot initialise SDL");
  setupeventfilter();
  setuppointer();
  setupwindowinfo(width, height, fullscreen);
  if (scaling)
    choosewindowscaling(grows);
  SDL_WM_SetCaption(caption, caption);  // the minimised window and the taskbar show it too
  setupicon();  // before the video mode, which takes the icon it finds
  if (mouselocked)
    SDL_WM_GrabInput(SDL_GRAB_ON);
  setupglattributes();
  if (!setvideomode()) {
    char what[64];
    snprintf(what, sizeof what, "cannot open the %dx%d OpenGL window", width, height);
    fail(what);
    SDL_Quit();
    moderefused = true;
    return 0;
  }
  lockmouse(mouselocked);  // asked again now that the window exists: held from the first frame
  setuptexturenames();
  setupglext();
  mouse.x = 320;
  mouse.y = 240;
  loadfont();
  setupmenuitems();
  resetmenuitems();
  setupframetiming();
  return 1;
}

int setupengine(const char *caption, int width, int height, int fullscreen)
{
  return openengine(caption, width, height, fullscreen, true);
}

// the size the stored settings ask for, as the set-up utility settles the height, when a window
// can have it
static bool storedsize(int &width, int &height)
{
  width = config.width;
  height = settledheight(config.width, config.height);
  return width > 0 && height > 0 && width <= largestwindowside && height <= largestwindowside;
}

static void fallingback(const char *why)
{
  reportmessage("%s: %s; opening a 640x480 window instead", program_invocation_short_name, why);
}

int setupgame(const char *caption)
{
  loadconfig();
  mouselocked = config.mouseunlocked == 0;
  lowtexturedetail = config.lowtexture != 0;
  int width, height;
  char why[128];
  if (!storedsize(width, height)) {
    snprintf(why, sizeof why, "cannot use the stored size %dx%d", config.width, config.height);
    fallingback(why);
    width = 640, height = 480;
  }
  const int fullscreen = config.fullscreen != 0;
  if (!openengine(caption, width, height, fullscreen, false)) {
    if (!moderefused || (width == 640 && height == 480 && !fullscreen))
      return 0;
    fallingback(setupfailure());
    if (!openengine(caption, 640, 480, 0, false))
      return 0;
  }
  if (config.usejoystick)
    setupjoystick();
  setupsound(config.sound);  // with "Sound" off no device is opened at all
  return 1;
}

const char *setupfailure()
{
  return failure;
}

void shutdownengine()
{
  shutdownsound();
  shutdownjoystick();
  if (SDL_WasInit(SDL_INIT_VIDEO))  // a failed or an earlier shutdown left no window
    iconifywindow();
  SDL_Quit();
  shutdownquitsignals();
}
