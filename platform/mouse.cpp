// The mouse poll: the pointer scaled into the virtual 640x480 screen, and the buttons.
#include "platform/platform.h"
#include "platform/system.h"

#include <SDL.h>
#include <initializer_list>

mousestate mouse;
mousestate prevmouse;
mousestate winmouse;
int32_t mousewheel;
mousemotionstate mousemotion;
int32_t mouselocked = 1;
int32_t mouselook;
void setmouselook(int on)
{
  if ((on != 0) == (mouselook != 0))
    return;
  mouselook = on != 0;
  if (!SDL_WasInit(SDL_INIT_VIDEO))
    return;
  int x = 0, y = 0;
  SDL_GetMouseState(&x, &y);
  showpointer();
  // the real pointer is put where the drawn one was, so that the two agree from here on; SDL2
  // does so itself as its relative mode ends, and would take the place in the scaled window's
  // own pixels
  if (!mouselook && windowinfo.active && !oversdl2())
    SDL_WarpMouse(Uint16(x), Uint16(y));
  dropmotion(grabsettlingframes);  // neither the switch nor the warp is a turn of the player's
}

void lockmouse(int locked)
{
  mouselocked = locked != 0;
  if (!windowinfo.active || !SDL_WasInit(SDL_INIT_VIDEO))
    return;
  // a hidden window cannot be grabbed: classic SDL 1.2 would wait for it to show without end, and
  // SDL 2 gives up after seconds and never grabs again
  if (!(SDL_GetAppState() & SDL_APPACTIVE))
    return;
  // SDL 1.2 over SDL2 takes a grab asked for before its window exists as granted but never
  // applies it, and then ignores the same request again: let go first, every request counts
  SDL_WM_GrabInput(SDL_GRAB_OFF);
  showpointer();
  if (!mouselocked)
    return;
  SDL_WM_GrabInput(SDL_GRAB_ON);
  dropmotion(grabsettlingframes);  // the grab's warp is no turn of the player's
}

void checkmouse()
{
  prevmouse = mouse;
  int x = 0, y = 0;
  const Uint8 polled = SDL_GetMouseState(&x, &y);
  Uint8 buttons = 0;
  for (int button : {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_WHEELUP, SDL_BUTTON_WHEELDOWN})
    if (inputstate(buttoncode(button), polled & SDL_BUTTON(button)))
      buttons |= SDL_BUTTON(button);
  winmouse.x = x;
  winmouse.y = y;

  // before a window has a size there is nothing to scale by
  mouse.x = windowinfo.width > 0 ? winmouse.x * 640 / windowinfo.width : 320;
  mouse.y = windowinfo.height > 0 ? winmouse.y * 480 / windowinfo.height : 240;
  if (mouse.x < 0) mouse.x = 0;
  if (mouse.y < 0) mouse.y = 0;
  if (mouse.x > 639) mouse.x = 639;
  if (mouse.y > 479) mouse.y = 479;
  if (!windowinfo.active) {
    // without the focus the pointer is parked and no button counts as held
    mouse.x = 320;
    mouse.y = 240;
    buttons = 0;
  }

  mouse.left = (buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0;
  mouse.right = (buttons & SDL_BUTTON(SDL_BUTTON_RIGHT)) != 0;
  mouse.wheelup = (buttons & SDL_BUTTON(SDL_BUTTON_WHEELUP)) != 0;
  mouse.wheeldown = (buttons & SDL_BUTTON(SDL_BUTTON_WHEELDOWN)) != 0;
  mousewheel = windowinfo.active ? wheelnotches() : 0;
  mousemotion = handoutmotion();
  if (!windowinfo.active || !mouselocked)
    mousemotion = {0, 0};
  mouse.leftreleased = !mouse.left && prevmouse.left;
  mouse.rightreleased = !mouse.right && prevmouse.right;
}
