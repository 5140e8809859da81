// The engine's start-up and shutdown: the window opened and every part readied in the one order
// that works, so that a program gets it right by making one call.
#include "startup/startup.h"

#include "draw/draw.h"
#include "files/files.h"
#include "menu/menu.h"
#include "platform/platform.h"
#include "texture/texture.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>

static char failure[256];

// without a window, loads from here on fill the table without reaching for GL
static int fail(const char *what)
{
  snprintf(failure, sizeof failure, "%s: %s", what, SDL_GetError());
  windowinfo.graphics = 0;
  return 0;
}

static void setupwindowinfo(int width, int height, int fullscreen)
{
  windowinfo.width = width;
  windowinfo.height = height;
  windowinfo.bits = 16;
  windowinfo.fullscreen = fullscreen;
  windowinfo.graphics = 1;
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

int setupengine(const char *caption, int width, int height, int fullscreen)
{
  // only X11 gives an OpenGL window; without a display SDL would otherwise fall back to a
  // text-mode driver that takes over the terminal before failing (a caller's choice still wins)
  setenv("SDL_VIDEODRIVER", "x11", 0);
  if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) != 0)
    return fail("cannot initialise SDL");
  setupwindowinfo(width, height, fullscreen);
  SDL_WM_SetCaption(caption, "SDL");
  setupicon();  // before the video mode, which takes the icon it finds
  SDL_WM_GrabInput(SDL_GRAB_ON);
  SDL_ShowCursor(SDL_DISABLE);
  setupglattributes();
  if (!setvideomode()) {
    char what[64];
    snprintf(what, sizeof what, "cannot open the %dx%d OpenGL window", width, height);
    fail(what);
    SDL_Quit();
    return 0;
  }
  setuptexturenames();
  setupglext();
  mouse.x = 320;
  mouse.y = 240;
  loadfont();
  setupmenuitems();
  resetmenuitems();
  return 1;
}

const char *setupfailure()
{
  return failure;
}

void swapbuffers()
{
  SDL_GL_SwapBuffers();
}

void shutdownengine()
{
  SDL_WM_IconifyWindow();
  SDL_Quit();
}
