// The keyboard poll: SDL's key states copied beside last frame's, with twin keys folded.
#include "platform/platform.h"

#include <SDL.h>
#include <cstring>

static_assert(keycount == SDLK_LAST, "key arrays are indexed by SDL key symbols");
static_assert(key_f12 == SDLK_F12 && key_lctrl == SDLK_LCTRL && key_kp_enter == SDLK_KP_ENTER &&
              key_insert == SDLK_INSERT && key_lalt == SDLK_LALT, "key codes are SDL's");

uint8_t keyboard[keycount];
uint8_t prevkeyboard[keycount];

// keypad digits, keypad minus and Enter, and the right-hand Shift and Ctrl count as their
// main-block twins, so that consumers test one code for either key
static const struct { int source, target; } foldedkeys[] = {
    {SDLK_KP_ENTER, SDLK_RETURN}, {SDLK_RCTRL, SDLK_LCTRL}, {SDLK_RSHIFT, SDLK_LSHIFT},
    {SDLK_KP_MINUS, SDLK_MINUS},  {SDLK_KP0, SDLK_0},       {SDLK_KP1, SDLK_1},
    {SDLK_KP2, SDLK_2},           {SDLK_KP3, SDLK_3},       {SDLK_KP4, SDLK_4},
    {SDLK_KP5, SDLK_5},           {SDLK_KP6, SDLK_6},       {SDLK_KP7, SDLK_7},
    {SDLK_KP8, SDLK_8},           {SDLK_KP9, SDLK_9},
};

void checkkeyboard()
{
  memcpy(prevkeyboard, keyboard, keycount);
  memcpy(keyboard, SDL_GetKeyState(nullptr), keycount);
  keyboard[0] = 0;  // hotkey 0 means "none" and must never fire
  for (const auto &fold : foldedkeys)
    if (keyboard[fold.source])
      keyboard[fold.target] = 1;
}
