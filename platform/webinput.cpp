// The web page's event drain and keyboard poll, standing in for events.cpp and keyboard.cpp until
// those take the browser's events: emscripten's SDL 1.2 reports the focus as SDL2's window events,
// a key by SDL2's key code and the key states by SDL2's scan codes, and has no event filter. A
// key whose code is a character (a letter, a digit, punctuation, Escape, Return, Tab, Backspace,
// Delete, the space) has the same code there as here and reaches the program; the arrows, the
// function keys, the keypad and the modifiers wait for the translation of the others.
#include "platform/platform.h"
#include "platform/web.h"

#include <SDL.h>
#include <cstring>

uint8_t keyboard[keycount];
uint8_t prevkeyboard[keycount];
keypressrecord keypress[keycount];
static uint8_t keyheld[keycount];  // each key as its last event left it

// the engine's code of a key the page reports; key_none for one not translated yet
static int enginekey(SDL_Keycode code)
{
  return code > key_none && code <= key_delete ? int(code) : key_none;
}

// a change of a key or button, for the queue that hands them out; 1 for a button's press
static bool queuechange(const SDL_Event &event)
{
  const bool down = event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN;
  if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
    if (const int key = enginekey(event.key.keysym.sym)) {
      keyheld[key] = down;
      queueinput(key, down);
    }
    return false;
  }
  queueinput(buttoncode(event.button.button), down);
  return down;
}

// A page loses the mouse with the focus, and with its pointer lock at the player's Escape; a
// press on it, which the browser answers with the lock where mouse look wants it, brings it back.
// The mouse's own motion is the held pointer's alone
void checksystemmessages()
{
  SDL_Event event;
  bool pressed = false;
  const bool locked = pointerheld();  // else the pointer's moves over the page are no motion
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP ||
        event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP)
      pressed = queuechange(event) || pressed;
    else if (event.type == SDL_MOUSEMOTION && locked)
      queuemotion(event.motion.xrel, event.motion.yrel);
    else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
      windowinfo.active = 0;
    else if (event.type == SDL_QUIT)
      windowinfo.quit = 1;
  }
  if (pointerletgo()) {
    windowinfo.active = 0;
  } else if (pressed && !windowinfo.active) {
    windowinfo.active = 1;
    lockmouse(mouselocked);
  }
  handoutinput();
}

// no signal reaches a page, and the drain counts the mouse's motion itself
void setupquitsignals() {}
void shutdownquitsignals() {}
int quitbysignal() { return 0; }
void setupeventfilter() {}

// no keypad key reaches the page yet, nor a modifier
int mainkey(int key) { return key; }
int heldmodifiers() { return 0; }

void checkkeyboard()
{
  memcpy(prevkeyboard, keyboard, keycount);
  for (int key = 1; key < keycount; ++key)
    keyboard[key] = uint8_t(inputstate(key, keyheld[key]));
  for (int key = 1; key < keycount; ++key)
    if (keypressed(key)) {
      const keypressrecord *press = handedoutpress(key);
      keypress[key] = press ? *press : keypressrecord{};
    }
}

int keypressed(int key)
{
  return key >= 0 && key < keycount && keyboard[key] && !prevkeyboard[key];
}
