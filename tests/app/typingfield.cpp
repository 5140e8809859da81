// A window with one text-entry field already in edit, for the end-to-end typing test: what is
// typed until Return (or a close request) is written to "typed.txt" in the working directory.
#include "engine.h"

#include <GL/gl.h>
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
  swapbuffers();
}

int main()
{
  if (!setupengine("Typing field", 640, 480, 0))
    return 1;
  framecap = 30;  // as a game caps its frames, where a quick chord's keys share one frame
  menuitem[0].active = 1;
  do
    runframe();
  while (menuitem[0].active && !windowinfo.quit);
  shutdownengine();
  FILE *file = fopen("typed.txt", "w");
  if (!file)
    return 1;
  fputs(typed, file);
  return fclose(file) == 0 ? 0 : 1;
}
