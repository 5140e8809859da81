// The display the platform starts on, chosen before it starts: the video driver, and how much
// larger a fixed window is shown on a large screen.
#include "startup/display.h"

#include "platform/platform.h"
#include "platform/variables.h"
#include "startup/startup.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

static bool isset(const char *variable)
{
  const char *value = getenv(variable);
  return value && *value;
}

// a caller's own choice wins. Only X11 gives SDL 1.2 an OpenGL window, and without a display it
// would fall back to a text-mode driver that takes over the terminal before failing, so X11 it
// is, where there is an X display and as the clear failure where there is none; only SDL 1.2
// over SDL2 can open a window on a Wayland display alone
void choosevideodriver()
{
  const bool waylandonly = !isset("DISPLAY") && isset("WAYLAND_DISPLAY");
  chooseplatformvariable("SDL_VIDEODRIVER", isset("SDL_VIDEODRIVER")            ? nullptr
                                            : waylandonly && oversdl2() ? "wayland"
                                                                        : "x11");
}

int windowscaling(int screenwidth, int screenheight, int width, int height)
{
  if (width <= 0 || height <= 0)
    return 1;
  return std::max(1, std::min(2 * screenwidth / (3 * width), 2 * screenheight / (3 * height)));
}

constexpr const char *scalingvariable = "SDL12COMPAT_WINDOW_SCALING";
constexpr const char *methodvariable = "SDL12COMPAT_SCALE_METHOD";

// SDL 1.2 over SDL2 shows its window larger than the size the program draws and points in, by
// the first variable's factor, unless the player set their own; true when the engine chooses
// it. A window that may grow does so by a whole factor, which keeps each pixel sharp when
// scaled by the nearest; a full screen's scaling is left alone
bool choosescalemethod(bool grows)
{
  chooseplatformvariable(scalingvariable, nullptr);
  chooseplatformvariable(methodvariable, nullptr);
  if (!oversdl2() || isset(scalingvariable))
    return false;
  if (grows && !isset(methodvariable))
    chooseplatformvariable(methodvariable, "nearest");
  return true;
}

// a window that may grow gets a factor that suits the screen, any other 1. The desktop's size
// is known once the platform is started, before a mode is set
void choosewindowscaling(bool grows)
{
  const SDL_VideoInfo *desktop = SDL_GetVideoInfo();
  int factor = 1;
  if (grows && desktop)
    factor = windowscaling(desktop->current_w, desktop->current_h, windowinfo.width,
                           windowinfo.height);
  char value[16];
  snprintf(value, sizeof value, "%d", factor);
  chooseplatformvariable(scalingvariable, value);
}
