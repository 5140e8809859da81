// The engine's start-up and shutdown: the window opened and every part readied in the one order
// that works, so that a program gets it right by making one call.
#include "startup/startup.h"

#include "draw/draw.h"
#include "files/files.h"
#include "menu/menu.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "texture/texture.h"

#include <SDL.h>
#include <algorithm>
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
  if (path.empty())
    return;
  SDL_Surface *icon = SDL_LoadBMP_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
  if (!icon)
    return;  // a window without an icon is no reason to stop
  SDL_WM_SetIcon(icon, nullptr);
  SDL_FreeSurface(icon);
}

static bool isset(const char *variable)
{
  const char *value = getenv(variable);
  return value && *value;
}

// SDL 1.2 over SDL2 reports versions from 1.2.50 on
static bool oversdl2()
{
  const SDL_version *version = SDL_Linked_Version();
  return version->major == 1 && version->minor == 2 && version->patch >= 50;
}

// a caller's own choice wins. Only X11 gives SDL 1.2 an OpenGL window, and without a display it
// would fall back to a text-mode driver that takes over the terminal before failing, so X11 it
// is, where there is an X display and as the clear failure where there is none; only SDL 1.2
// over SDL2 can open a window on a Wayland display alone
static void choosevideodriver()
{
  if (isset("SDL_VIDEODRIVER"))
    return;
  const bool waylandonly = !isset("DISPLAY") && isset("WAYLAND_DISPLAY");
  setenv("SDL_VIDEODRIVER", waylandonly && oversdl2() ? "wayland" : "x11", 1);
}

int windowscaling(int screenwidth, int screenheight, int width, int height)
{
  if (width <= 0 || height <= 0)
    return 1;
  return std::max(1, std::min(2 * screenwidth / (3 * width), 2 * screenheight / (3 * height)));
}

constexpr const char *scalingvariable = "SDL12COMPAT_WINDOW_SCALING";
constexpr const char *methodvariable = "SDL12COMPAT_SCALE_METHOD";
static bool scalingchosenhere;  // each variable holds the engine's choice, not the player's
static bool methodchosenhere;

// SDL 1.2 over SDL2 shows its window larger than the size the program draws and points in, by
// the first variable's factor, unless the player set their own; true when the engine chooses
// it. A window that may grow does so by a whole factor, which keeps each pixel sharp when
// scaled by the nearest, a way read as the platform starts; a full screen's scaling is left alone
static bool choosescalemethod(bool grows)
{
  if (!oversdl2() || (isset(scalingvariable) && !scalingchosenhere))
    return false;
  if (grows && !isset(methodvariable)) {
    setenv(methodvariable, "nearest", 1);
    methodchosenhere = true;
  } else if (!grows && methodchosenhere) {
    unsetenv(methodvariable);
    methodchosenhere = false;
  }
  return true;
}

// a window that may grow gets a factor that suits the screen, any other 1. The desktop's size
// is known once the platform is started, before a mode is set, and the variable is read as the
// mode is set, on every focus regain too, so it stays set
static void choosewindowscaling(bool grows)
{
  const SDL_VideoInfo *desktop = SDL_GetVideoInfo();
  int factor = 1;
  if (grows && desktop)
    factor = windowscaling(desktop->current_w, desktop->current_h, windowinfo.width,
                           windowinfo.height);
  char value[16];
  snprintf(value, sizeof value, "%d", factor);
  setenv(scalingvariable, value, 1);
  scalingchosenhere = true;
}

// setupengine, for a fixed window or for the size a game's player stored
static int openengine(const char *caption, int width, int height, int fullscreen, bool fixed)
{
  choosevideodriver();
  const bool grows = fixed && !fullscreen;
  const bool scaling = choosescalemethod(grows);
  moderefused = false;
  setupquitsignals();  // before the platform's own, which would drop a signal during its start
  if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) != 0)
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
  fprintf(stderr, "%s: %s; opening a 640x480 window instead\n", program_invocation_short_name,
          why);
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
    SDL_WM_IconifyWindow();
  SDL_Quit();
  shutdownquitsignals();
}
