// The keyboard poll: SDL's key states copied beside last frame's, with twin keys folded, and what
// each new press carried.
#include "platform/platform.h"

#include <SDL.h>
#include <cstring>

static_assert(keycount == SDLK_LAST, "key arrays are indexed by SDL key symbols");

// every named key code is SDL's own, so hotkeys and key tables can be written without SDL; the
// ends of each run of codes and the keys between runs are checked
constexpr struct { int ours, platforms; } namedkeys[] = {
    {key_none, SDLK_UNKNOWN}, {key_backspace, SDLK_BACKSPACE}, {key_clear, SDLK_CLEAR},
    {key_pause, SDLK_PAUSE}, {key_escape, SDLK_ESCAPE}, {key_space, SDLK_SPACE},
    {key_ampersand, SDLK_AMPERSAND}, {key_slash, SDLK_SLASH}, {key_0, SDLK_0}, {key_9, SDLK_9},
    {key_colon, SDLK_COLON}, {key_at, SDLK_AT}, {key_leftbracket, SDLK_LEFTBRACKET},
    {key_backquote, SDLK_BACKQUOTE}, {key_a, SDLK_a}, {key_z, SDLK_z}, {key_delete, SDLK_DELETE},
    {key_world_0, SDLK_WORLD_0}, {key_world_95, SDLK_WORLD_95}, {key_kp0, SDLK_KP0},
    {key_kp9, SDLK_KP9}, {key_kp_equals, SDLK_KP_EQUALS}, {key_up, SDLK_UP},
    {key_pagedown, SDLK_PAGEDOWN}, {key_f1, SDLK_F1}, {key_f15, SDLK_F15},
    {key_numlock, SDLK_NUMLOCK}, {key_compose, SDLK_COMPOSE}, {key_help, SDLK_HELP},
    {key_undo, SDLK_UNDO},
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
keypressrecord keypress[keycount];

// keypad digits, keypad minus and Enter, and the right-hand Shift and Ctrl count as their
// main-block twins, so that consumers test one code for either key
static const struct { int source, target; } foldedkeys[] = {
    {SDLK_KP_ENTER, SDLK_RETURN}, {SDLK_RCTRL, SDLK_LCTRL}, {SDLK_RSHIFT, SDLK_LSHIFT},
    {SDLK_KP_MINUS, SDLK_MINUS},  {SDLK_KP0, SDLK_0},       {SDLK_KP1, SDLK_1},
    {SDLK_KP2, SDLK_2},           {SDLK_KP3, SDLK_3},       {SDLK_KP4, SDLK_4},
    {SDLK_KP5, SDLK_5},           {SDLK_KP6, SDLK_6},       {SDLK_KP7, SDLK_7},
    {SDLK_KP8, SDLK_8},           {SDLK_KP9, SDLK_9},
};

int mainkey(int key)
{
  for (const auto &fold : foldedkeys)
    if (fold.source == key)
      return fold.target;
  return key;
}

// the modifier keys as keyboard holds them, the right-hand Shift and Ctrl folded
static const struct { int key, modifier; } modifierkeys[] = {
    {SDLK_LSHIFT, modshift},  {SDLK_LCTRL, modctrl},    {SDLK_LALT, modalt},
    {SDLK_RALT, modaltgr},    {SDLK_MODE, modaltgr},    {SDLK_LMETA, modsystem},
    {SDLK_RMETA, modsystem},  {SDLK_LSUPER, modsystem}, {SDLK_RSUPER, modsystem},
};

int heldmodifiers()
{
  int modifiers = 0;
  for (const auto &held : modifierkeys)
    if (keyboard[held.key])
      modifiers |= held.modifier;
  return modifiers;
}

// a press the queue did not hand out (dropped from a full queue, or made before the start-up) has
// the modifiers held now; a twin's press is also its main key's
static void recordpresses()
{
  const int held = heldmodifiers();
  for (int key = 1; key < keycount; ++key)
    if (keypressed(key)) {
      const keypressrecord *press = handedoutpress(key);
      keypress[key] = press ? *press : keypressrecord{held};
    }
  for (const auto &fold : foldedkeys)
    if (keypressed(fold.source))
      keypress[fold.target] = keypress[fold.source];
}

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
  recordpresses();
}

int keypressed(int key)
{
  return key >= 0 && key < keycount && keyboard[key] && !prevkeyboard[key];
}
