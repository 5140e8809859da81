// A window with one text-entry field already in edit, for the end-to-end typing test: what is
// typed until Return (or a close request) is written to "typed.txt" in the working directory.
#include "engine.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdio>

static char typed[menuinputsize];

static void buildfield()
{
  numofmenuitems = 0;
  createmenuitem("Type, then press Return .......................................", 8, 64, 8,
                 1.0f, 1.0f, 1.0f);
  setmenuitem(optionstringinput, intptr_t(typed));
}

static void runframe()
{
  glClear(GL_COLOR_BUFFER_BIT);
  buildfield();
  checksystemmessages();
  checkkeyboard();
  checkmouse();
  checkmenuitems();
  setuptextdisplay();
  drawmenuitems();
  SDL_GL_SwapBuffers();
}

int main()
{
  if (SDL_Init(SDL_INIT_VIDEO) != 0)
    return 1;
  windowinfo = {640, 480, 16, 0, 0, 1, 1};
  SDL_WM_SetCaption("Typing field", nullptr);
  setupglattributes();
  if (!setvideomode())
    return 1;
  SDL_WM_GrabInput(SDL_GRAB_ON);
  setuptexturenames();
  loadfont();
  setupmenuitems();
  resetmenuitems();
  menuitem[0].active = 1;
  do
    runframe();
  while (menuitem[0].active && !windowinfo.quit);
  SDL_Quit();
  FILE *file = fopen("typed.txt", "w");
  if (!file)
    return 1;
  fputs(typed, file);
  return fclose(file) == 0 ? 0 : 1;
}
