// The per-frame drain of the platform's event queue: focus, F12, quit, and the key and button
// changes that the input queue hands out.
#include "platform/platform.h"
#include "platform/padlayout.h"

#include "texture/texture.h"

#include <SDL.h>
#include <csignal>

static bool focusevent(const SDL_Event &event, int gain)
{
  return event.type == SDL_ACTIVEEVENT && (event.active.state & SDL_APPINPUTFOCUS) &&
         event.active.gain == gain;
}

// the window counts as in front again: pointer and buttons, and the grab as mouselocked says
static void takeinputback()
{
  windowinfo.active = 1;
  lockmouse(mouselocked);
}

// the mode is set again and every texture uploaded again: the context may not have survived;
// without a window there is nothing to draw into, so graphics go off and the program ends
static void regainfocus()
{
  if (windowinfo.graphics && !setvideomode()) {
    setgraphics(0);
    windowinfo.quit = 1;
  }
  if (windowinfo.graphics)
    restoretextures();
  takeinputback();
}

// what F12 does: the window is hidden and the mouse let go
static void iconify()
{
  SDL_WM_GrabInput(SDL_GRAB_OFF);
  SDL_WM_IconifyWindow();
  windowinfo.active = 0;
}

// F12 as the platform knows it now, not only as last frame's poll read it: a release made while
// the window was minimised is learnt in the drain that brings the focus back
static bool f12held()
{
  return keyboard[key_f12] && SDL_GetKeyState(nullptr)[SDLK_F12];
}

static volatile sig_atomic_t quitsignalled;

static void askquit(int)
{
  quitsignalled = 1;
}

void setupquitsignals()
{
  for (int number : {SIGTERM, SIGINT}) {
    struct sigaction current;
    if (sigaction(number, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
      continue;  // the program's own handler stays
    struct sigaction quit = {};
    quit.sa_handler = askquit;
    quit.sa_flags = SA_RESTART;  // the flag is read at the next drain: nothing need be cut short
    sigemptyset(&quit.sa_mask);
    sigaction(number, &quit, nullptr);
  }
}

int quitbysignal()
{
  return quitsignalled;
}

void shutdownquitsignals()
{
  for (int number : {SIGTERM, SIGINT}) {
    struct sigaction current;
    if (sigaction(number, nullptr, &current) == 0 && current.sa_handler == askquit)
      signal(number, SIG_DFL);
  }
}

// The mouse's motion and the wheel's notches are counted as the platform reads them, never
// queued, and the buttons the records do not keep are dropped: a fast mouse or a flick of the
// wheel would otherwise fill the platform's queue of 128 events and push keys out of it. As the
// platform's event filter this keeps what it counts out of that queue; 1 for an event to queue
static int SDLCALL countmouse(const SDL_Event *event)
{
  if (event->type == SDL_MOUSEMOTION) {
    queuemotion(event->motion.xrel, event->motion.yrel);
    return 0;
  }
  if (event->type != SDL_MOUSEBUTTONDOWN && event->type != SDL_MOUSEBUTTONUP)
    return 1;
  const int button = event->button.button;
  if (button == SDL_BUTTON_LEFT || button == SDL_BUTTON_RIGHT)
    return 1;
  if (button == SDL_BUTTON_WHEELUP || button == SDL_BUTTON_WHEELDOWN)
    queueinput(buttoncode(button), event->type == SDL_MOUSEBUTTONDOWN);
  return 0;
}

void setupeventfilter()
{
  SDL_SetEventFilter(countmouse);
}

// the platform's modifier flags as the engine's bits; the right Alt counts as Alt Gr, which it is
// on the layouts that have one (over SDL2 Alt Gr arrives as the right Alt)
static const struct { int platforms, modifier; } modifierflags[] = {
    {KMOD_SHIFT, modshift}, {KMOD_CTRL, modctrl}, {KMOD_LALT, modalt},
    {KMOD_RALT | KMOD_MODE, modaltgr}, {KMOD_META, modsystem},
};

// classic SDL 1.2 counts no Super key in an event's modifiers: the drain follows the two keys
// itself, starting from the platform's key states as the last drain left them
static bool superheld[2];  // left, right

static void followsuperkeys()
{
  const Uint8 *held = SDL_GetKeyState(nullptr);
  superheld[0] = held[SDLK_LSUPER];
  superheld[1] = held[SDLK_RSUPER];
}

// what a key event carried: the modifiers held as it was made, and the character the platform
// translated it into
static keypressrecord pressof(const SDL_keysym &keysym)
{
  int modifiers = superheld[0] || superheld[1] ? modsystem : 0;
  for (const auto &flag : modifierflags)
    if (keysym.mod & flag.platforms)
      modifiers |= flag.modifier;
  return {modifiers, keysym.unicode};
}

// every key and button change, so that a press shorter than a frame still reaches the polls; a
// character that comes without a key (classic SDL 1.2 sends the result of a dead key or of
// compose so, and never lets it go) is a tap of key_text
static void queuechange(const SDL_Event &event)
{
  if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
    const int key = event.key.keysym.sym;
    const bool down = event.type == SDL_KEYDOWN;
    if (key == SDLK_LSUPER || key == SDLK_RSUPER)
      superheld[key == SDLK_RSUPER] = down;
    if (key > 0 && key < keycount) {
      queueinput(key, down, pressof(event.key.keysym));
    } else if (down && event.key.keysym.unicode) {
      queueinput(key_text, 1, pressof(event.key.keysym));
      queueinput(key_text, 0);
    }
  }
  if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP)
    queueinput(buttoncode(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
  if (event.type == SDL_JOYBUTTONDOWN)
    latchpadbutton(event.jbutton.which, event.jbutton.button);
  if (event.type == SDL_JOYHATMOTION)
    latchpadhat(event.jhat.which, event.jhat.hat, event.jhat.value);
}

// where nothing minimises the window, F12 leaves it the focus and no focus event comes back: a
// press in the window (F12's own aside) says the player is in front of it again
static bool backinfront(const SDL_Event &event)
{
  const bool press = (event.type == SDL_KEYDOWN && event.key.keysym.sym != SDLK_F12) ||
                     event.type == SDL_MOUSEBUTTONDOWN;
  const Uint8 shown = SDL_APPINPUTFOCUS | SDL_APPACTIVE;
  return press && !windowinfo.active && (SDL_GetAppState() & shown) == shown;
}

void checksystemmessages()
{
  SDL_Event event;
  bool tapped = keypressed(key_f12);  // a press of the last poll iconifies once, held or not
  bool regain = false, infront = false;  // acted on once the queue is drained
  bool iconified = false;  // every focus event drained with it predates the window's hiding
  followsuperkeys();
  while (SDL_PollEvent(&event)) {
    if (countmouse(&event))  // what the filter did not count already, as an event pushed past it
      queuechange(event);
    regain = regain || focusevent(event, 1);
    infront = infront || backinfront(event);
    if (focusevent(event, 0)) {
      SDL_WM_GrabInput(SDL_GRAB_OFF);
      windowinfo.active = 0;
      regain = infront = false;
    }
    if (tapped || f12held()) {  // tested once per event taken
      iconify();
      tapped = false;
      iconified = true;
    }
    if (event.type == SDL_QUIT)
      windowinfo.quit = 1;
  }
  // a tap quicker than a frame is handed out after its events were drained, and no later event
  // may come to find it
  if (tapped)
    iconify();
  else if (regain && !iconified)
    regainfocus();
  else if (infront && !iconified)
    takeinputback();
  if (quitsignalled)
    windowinfo.quit = 1;
  handoutinput();
}
