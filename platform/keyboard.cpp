// The keyboard poll: SDL's key states copied beside last frame's, with twin keys folded.
#include "platform/platform.h"

#include <SDL.h>
#include <cstring>

static_assert(keycount == SDLK_LAST, "key arrays are indexed by SDL key symbols");

// every named key code is SDL's own, so hotkeys and key tables can be written without SDL
constexpr struct { int ours, platforms; } namedkeys[] = {
    {key_none, SDLK_UNKNOWN}, {key_backspace, SDLK_BACKSPACE}, {key_tab, SDLK_TAB},
    {key_return, SDLK_RETURN}, {key_escape, SDLK_ESCAPE}, {key_space, SDLK_SPACE},
    {key_quote, SDLK_QUOTE}, {key_comma, SDLK_COMMA}, {key_minus, SDLK_MINUS},
    {key_period, SDLK_PERIOD}, {key_slash, SDLK_SLASH}, {key_0, SDLK_0},
    {key_1, SDLK_1}, {key_9, SDLK_9}, {key_semicolon, SDLK_SEMICOLON},
    {key_equals, SDLK_EQUALS}, {key_backslash, SDLK_BACKSLASH}, {key_a, SDLK_a},
    {key_z, SDLK_z}, {key_delete, SDLK_DELETE}, {key_kp0, SDLK_KP0},
    {key_kp9, SDLK_KP9}, {key_kp_period, SDLK_KP_PERIOD}, {key_kp_divide, SDLK_KP_DIVIDE},
    {key_kp_multiply, SDLK_KP_MULTIPLY}, {key_kp_minus, SDLK_KP_MINUS}, {key_kp_plus, SDLK_KP_PLUS},
    {key_kp_enter, SDLK_KP_ENTER}, {key_kp_equals, SDLK_KP_EQUALS}, {key_up, SDLK_UP},
    {key_down, SDLK_DOWN}, {key_right, SDLK_RIGHT}, {key_left, SDLK_LEFT},
    {key_insert, SDLK_INSERT}, {key_home, SDLK_HOME}, {key_end, SDLK_END},
    {key_pageup, SDLK_PAGEUP}, {key_pagedown, SDLK_PAGEDOWN}, {key_f1, SDLK_F1},
    {key_f12, SDLK_F12}, {key_numlock, SDLK_NUMLOCK}, {key_rshift, SDLK_RSHIFT}, {key_lshift, SDLK_LSHIFT},
    {key_rctrl, SDLK_RCTRL}, {key_lctrl, SDLK_LCTRL}, {key_ralt, SDLK_RALT},
    {key_lalt, SDLK_LALT}, {key_compose, SDLK_COMPOSE},
};
constexpr bool namedkeysmatch()
{
  for (const auto &key : namedkeys)
    if (key.ours != key.platforms)
      return false;
  return true;
}
static_assert(namedkeysmatch(), "key codes are SDL's");

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
  const Uint8 *polled = SDL_GetKeyState(nullptr);
  for (int key = 0; key < keycount; ++key)
    keyboard[key] = uint8_t(inputstate(key, polled[key]));
  keyboard[0] = 0;  // hotkey 0 means "none" and must never fire
  for (const auto &fold : foldedkeys)
    if (keyboard[fold.source])
      keyboard[fold.target] = 1;
}

int keypressed(int key)
{
  return key >= 0 && key < keycount && keyboard[key] && !prevkeyboard[key];
}
