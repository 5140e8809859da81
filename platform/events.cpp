// The per-frame drain of the platform's event queue: focus, F12, quit, and the key and button
// changes that the input queue hands out.
#include "platform/platform.h"

#include "texture/texture.h"

#include <SDL.h>

static bool focusevent(const SDL_Event &event, int gain)
{
  return event.type == SDL_ACTIVEEVENT && (event.active.state & SDL_APPINPUTFOCUS) &&
         event.active.gain == gain;
}

// the mode is set again and every texture uploaded again: the context may not have survived;
// without a window there is nothing to draw into, so graphics go off and the program ends
static void regainfocus()
{
  if (windowinfo.graphics && !setvideomode()) {
    windowinfo.graphics = 0;
    windowinfo.quit = 1;
  }
  if (windowinfo.graphics)
    restoretextures();
  SDL_WM_GrabInput(SDL_GRAB_ON);
  SDL_ShowCursor(SDL_DISABLE);
  windowinfo.active = 1;
}

// what F12 does: the window is hidden and the mouse let go
static void iconify()
{
  SDL_WM_GrabInput(SDL_GRAB_OFF);
  SDL_WM_IconifyWindow();
  windowinfo.active = 0;
}

// every key and button change, so that a press shorter than a frame still reaches the polls
static void queuechange(const SDL_Event &event)
{
  if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
    const int key = event.key.keysym.sym;
    if (key > 0 && key < keycount)
      queueinput(key, event.type == SDL_KEYDOWN);
  }
  if ((event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP) &&
      event.button.button < inputcodes - keycount)
    queueinput(buttoncode(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
}

void checksystemmessages()
{
  SDL_Event event;
  bool anyevent = false;
  while (SDL_PollEvent(&event)) {
    anyevent = true;
    queuechange(event);
    if (focusevent(event, 1))
      regainfocus();
    if (focusevent(event, 0)) {
      SDL_WM_GrabInput(SDL_GRAB_OFF);
      windowinfo.active = 0;
    }
    if (keyboard[key_f12])  // tested once per event taken, against last frame's keys
      iconify();
    if (event.type == SDL_QUIT)
      windowinfo.quit = 1;
  }
  // a tap quicker than a frame is handed out after its events were drained, and no later event
  // may come to find it
  if (!anyevent && keypressed(key_f12))
    iconify();
  handoutinput();
}
