// Tavrel Setup: start-up, the frame loop of the one set-up screen, and the shutdown that stores
// the player's choices in "hwconfig.cfg".
#include "engine.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static void reportfailure(const char *what, const char *why)
{
  fprintf(stderr, "tavrel-setup: %s: %s\n", what, why);
}

// the set-up window is always 640x480 and windowed, whatever the stored configuration says
static void setupwindowinfo()
{
  windowinfo.width = 640;
  windowinfo.height = 480;
  windowinfo.bits = 16;
  windowinfo.fullscreen = 0;
  windowinfo.graphics = 1;
  windowinfo.active = 1;
}

static void setupicon()
{
  SDL_Surface *icon = SDL_LoadBMP_RW(SDL_RWFromFile("tvr.bmp", "rb"), 1);
  if (!icon)
    return;  // a window without an icon is no reason to stop
  SDL_WM_SetIcon(icon, nullptr);
  SDL_FreeSurface(icon);
}

// everything up to the first frame; 0 when there is no window to draw into
static int startup()
{
  loadconfig();
  // only X11 gives an OpenGL window; without a display SDL would otherwise fall back to a
  // text-mode driver that takes over the terminal before failing (a caller's choice still wins)
  setenv("SDL_VIDEODRIVER", "x11", 0);
  if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) != 0) {
    reportfailure("cannot initialise SDL", SDL_GetError());
    return 0;
  }
  setupwindowinfo();
  SDL_WM_SetCaption("Tavrel Setup", "SDL");
  setupicon();
  SDL_WM_GrabInput(SDL_GRAB_ON);
  SDL_ShowCursor(SDL_DISABLE);
  if (windowinfo.graphics) {
    setupglattributes();
    if (!setvideomode()) {
      reportfailure("cannot open the 640x480 OpenGL window", SDL_GetError());
      SDL_Quit();
      return 0;
    }
    setuptexturenames();
    setupglext();
  }
  mouse.x = 320;
  mouse.y = 240;
  loadfont();
  return 1;
}

static void runframe()
{
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  checksystemmessages();
  checkkeyboard();
  checkmouse();
  setuptextdisplay();
  drawtext("Resolution", 0, 96, 16, 1.0f, 1.0f, 1.0f, 1.0f);
  drawmousecursor(1.0f, 1.0f, 1.0f, 1.0f);
  SDL_GL_SwapBuffers();
}

// the height stored for the game always follows the chosen width
static void settleheight()
{
  switch (config.width) {
  case 640: config.height = 480; break;
  case 800: config.height = 600; break;
  case 1024: config.height = 768; break;
  case 1280: config.height = 960; break;
  default: break;  // a hand-made width keeps its stored height
  }
}

// stores the choices and closes down; the process's exit status
static int shutdown()
{
  settleheight();
  int error = saveconfig();
  if (error)
    reportfailure("cannot save hwconfig.cfg, the old file is kept", strerror(error));
  SDL_WM_IconifyWindow();
  SDL_Quit();
  return error ? 1 : 0;
}

int main(int, char **)
{
  if (!startup())
    return 1;
  while (!windowinfo.quit)
    runframe();
  return shutdown();
}
