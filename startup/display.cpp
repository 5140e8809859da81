// The display the platform starts on, chosen before it starts: the video driver, and how much
// larger a fixed window is shown on a large screen.
#include "startup/display.h"

#include "platform/platform.h"
#include "startup/startup.h"

#include <SDL.h>
#include <algorithm>
#include <utility>
#include <cstdio>
#include <cstdlib>

static bool isset(const char *variable)
{
  const char *value = getenv(variable);
  return value && *value;
}

static bool driverchosenhere;  // SDL_VIDEODRIVER holds the engine's choice, not the caller's

// a caller's own choice wins. Only X11 gives SDL 1.2 an OpenGL window, and without a display it
// would fall back to a text-mode driver that takes over the terminal before failing, so X11 it
// is, where there is an X display and as the clear failure where there is none; only SDL 1.2
// over SDL2 can open a window on a Wayland display alone
void choosevideodriver()
{
  if (isset("SDL_VIDEODRIVER"))
    return;
  const bool waylandonly = !isset("DISPLAY") && isset("WAYLAND_DISPLAY");
  setenv("SDL_VIDEODRIVER", waylandonly && oversdl2() ? "wayland" : "x11", 1);
  driverchosenhere = true;
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
bool choosescalemethod(bool grows)
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
void choosewindowscaling(bool grows)
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

// a variable the engine set is the engine's alone: a program the game starts next, or the game's
// own next start-up, would take it for the player's
void forgetdisplaychoices()
{
  for (auto [variable, chosen] : {std::pair{"SDL_VIDEODRIVER", &driverchosenhere},
                                  std::pair{scalingvariable, &scalingchosenhere},
                                  std::pair{methodvariable, &methodchosenhere}})
    if (*chosen) {
      unsetenv(variable);
      *chosen = false;
    }
}
