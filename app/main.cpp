// Tavrel Setup: start-up, the frame loop of the one set-up screen, and the shutdown that stores
// the player's choices in "hwconfig.cfg".
#include "engine.h"
#include "setupscreen.h"

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
  setupmenuitems();
  resetmenuitems();
  return 1;
}

// one frame, in a fixed order: the choices made by this frame's input are drawn in it
static void runframe()
{
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  buildsetupscreen();
  checksystemmessages();
  if (!windowinfo.graphics)
    return;  // the window could not be set up again after a focus change: draw nothing
  checkkeyboard();
  checkmouse();
  checkmenuitems();
  // the bars draw under the previous frame's 2-D set-up, before this frame's text
  if (textcolor) {
    bindeditbars();
    checkeditbars();
    rendereditbars();
  }
  setuptextdisplay();
  drawsetupheading();
  drawmenuitems();
  drawmousecursor(1.0f, 1.0f, 1.0f, 1.0f);
  SDL_GL_SwapBuffers();
}

// stores the choices and closes down; the process's exit status
static int shutdown()
{
  int status = 0;
  if (!windowinfo.graphics) {
    reportfailure("lost the 640x480 OpenGL window", SDL_GetError());
    status = 1;
  }
  settleheight();
  if (int error = saveconfig()) {
    reportfailure("cannot save hwconfig.cfg", strerror(error));
    status = 1;
  }
  SDL_WM_IconifyWindow();
  SDL_Quit();
  return status;
}

int main(int, char **)
{
  if (!startup())
    return 1;
  // "Done" is slot 0; its activation, like a quit request, ends the loop before the next frame
  while (!menuitem[0].active && !windowinfo.quit)
    runframe();
  return shutdown();
}
