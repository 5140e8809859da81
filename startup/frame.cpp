// The frame's fixed order in two calls: the polls and the menu pass before a program draws, and
// the menu items, the pointer, a screenshot and the swap after it.
#include "startup/startup.h"

#include "draw/draw.h"
#include "menu/menu.h"
#include "platform/platform.h"
#include "sound/sound.h"

#include <SDL.h>

constexpr int idlemilliseconds = 10;  // a skipped frame's wait: no swap paces the loop then

int beginframe()
{
  feedmusic();  // where there are no threads, before the frame's own work
  checksystemmessages();
  if (!windowinfo.graphics) {  // the window could not be set up again after a focus change
    SDL_Delay(idlemilliseconds);  // a loop that skips its frames would otherwise spin a core
    return 0;
  }
  checkkeyboard();
  checkmouse();
  checkjoystick();
  checkmenuitems();
  return 1;
}

int endframe(int pointer, int shot)
{
  setuptextdisplay();  // whatever state the program's own drawing left
  drawmenuitems();
  if (pointer)
    drawmousecursor(1, 1, 1, 1);
  const int saved = shot ? screenshot() : 0;
  swapbuffers();
  return saved;
}
