// The keyboard poll: twin keys folded, previous-frame copy, key 0 never held, and presses shorter
// than a frame handed out by the input queue.
#include "engine.h"

#include <SDL.h>
#include <cctype>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

// SDL's own key-state array is writable: the poll copies from it
Uint8 *platformkeys()
{
  return SDL_GetKeyState(nullptr);
}

void releaseall()
{
  memset(platformkeys(), 0, SDLK_LAST);
  checkkeyboard();
  checkkeyboard();
}

TEST(keyboard_folding, every_twin_key_sets_its_main_key_and_keeps_its_own)
{
  const int twins[][2] = {{SDLK_KP_ENTER, SDLK_RETURN}, {SDLK_RCTRL, SDLK_LCTRL},
                          {SDLK_RSHIFT, SDLK_LSHIFT},   {SDLK_KP_MINUS, SDLK_MINUS},
                          {SDLK_KP0, SDLK_0},           {SDLK_KP1, SDLK_1},
                          {SDLK_KP2, SDLK_2},           {SDLK_KP3, SDLK_3},
                          {SDLK_KP4, SDLK_4},           {SDLK_KP5, SDLK_5},
                          {SDLK_KP6, SDLK_6},           {SDLK_KP7, SDLK_7},
                          {SDLK_KP8, SDLK_8},           {SDLK_KP9, SDLK_9}};
  for (const auto &twin : twins) {
    releaseall();
    platformkeys()[twin[0]] = 1;
    checkkeyboard();
    EXPECT_EQ(keyboard[twin[1]], 1) << "key " << twin[0];
    EXPECT_EQ(keyboard[twin[0]], 1) << "key " << twin[0];
    EXPECT_EQ(prevkeyboard[twin[1]], 0) << "key " << twin[0];
    int held = 0;
    for (int key = 0; key < keycount; ++key)
      held += keyboard[key];
    EXPECT_EQ(held, 2) << "key " << twin[0];
  }
}

TEST(keyboard_folding, keys_without_a_twin_stay_alone)
{
  for (int key : {int(SDLK_KP_PERIOD), int(SDLK_KP_DIVIDE), int(SDLK_KP_MULTIPLY),
                  int(SDLK_KP_PLUS), int(SDLK_KP_EQUALS), int(SDLK_RALT), int(SDLK_RMETA)}) {
    releaseall();
    platformkeys()[key] = 1;
    checkkeyboard();
    int held = 0;
    for (int k = 0; k < keycount; ++k)
      held += keyboard[k];
    EXPECT_EQ(held, 1) << "key " << key;
  }
}

TEST(keyboard_folding, a_main_key_stays_held_while_only_its_own_key_is_down)
{
  releaseall();
  platformkeys()[SDLK_LSHIFT] = 1;
  platformkeys()[SDLK_RSHIFT] = 1;
  checkkeyboard();
  platformkeys()[SDLK_RSHIFT] = 0;
  checkkeyboard();
  EXPECT_EQ(keyboard[SDLK_LSHIFT], 1);
  EXPECT_EQ(keyboard[SDLK_RSHIFT], 0);
}

TEST(keyboard_edges, a_keypad_digit_is_newly_pressed_for_one_poll_like_its_twin)
{
  releaseall();
  platformkeys()[SDLK_KP5] = 1;
  checkkeyboard();
  EXPECT_TRUE(keyboard[SDLK_5] && !prevkeyboard[SDLK_5]);
  checkkeyboard();
  EXPECT_TRUE(keyboard[SDLK_5] && prevkeyboard[SDLK_5]);
  platformkeys()[SDLK_KP5] = 0;
  checkkeyboard();
  EXPECT_TRUE(!keyboard[SDLK_5] && prevkeyboard[SDLK_5]);
}

TEST(keyboard_edges, the_unknown_key_never_reads_as_held)
{
  releaseall();
  platformkeys()[SDLK_UNKNOWN] = 1;
  checkkeyboard();
  EXPECT_EQ(keyboard[0], 0);
  platformkeys()[SDLK_UNKNOWN] = 0;
}

TEST(keyboard_edges, the_previous_array_holds_the_last_poll_folding_included)
{
  releaseall();
  platformkeys()[SDLK_KP_ENTER] = 1;
  platformkeys()[SDLK_a] = 1;
  checkkeyboard();
  uint8_t snapshot[keycount];
  memcpy(snapshot, keyboard, keycount);
  memset(platformkeys(), 0, SDLK_LAST);
  checkkeyboard();
  EXPECT_EQ(memcmp(prevkeyboard, snapshot, keycount), 0);
  EXPECT_EQ(prevkeyboard[SDLK_RETURN], 1);
}

// a burst of changes between two frames, as "+h -h": a letter, ^ for Shift or * for the left
// button, going down or up, or ~ for a notch of the wheel up; then what each frame sees: ^ while
// Shift is held, the newly pressed letters, * for a new left press, . for a left release and ~
// with the wheel's notches; a letter whose press carried Shift as a capital
std::vector<std::string> framesafter(const char *burst)
{
  windowinfo = {640, 480, 16, 0, 0, 1, 1};
  std::istringstream changes(burst);
  int modifiers = 0;
  for (std::string change; changes >> change;) {
    if (change == "~") {
      queueinput(buttoncode(SDL_BUTTON_WHEELUP), 1);
      continue;
    }
    const int code = change[1] == '^' ? int(SDLK_LSHIFT)
                     : change[1] == '*' ? buttoncode(SDL_BUTTON_LEFT) : change[1];
    if (code == SDLK_LSHIFT)
      modifiers = change[0] == '+' ? modshift : 0;
    queueinput(code, change[0] == '+', {modifiers});
    if (code < keycount)
      platformkeys()[code] = change[0] == '+';  // the platform reports the burst's end
  }
  std::vector<std::string> seen;
  for (int frame = 0; frame < 8; ++frame) {
    handoutinput();
    checkkeyboard();
    checkmouse();
    std::string now = keyboard[SDLK_LSHIFT] ? "^" : "";
    for (int key = SDLK_a; key <= SDLK_z; ++key)
      if (keyboard[key] && !prevkeyboard[key])
        now += char(keypress[key].modifiers & modshift ? toupper(key) : key);
    now += std::string(mouse.left && !prevmouse.left, '*') + std::string(mouse.leftreleased, '.');
    if (mousewheel)
      now += "~" + std::to_string(mousewheel);
    seen.push_back(now);
  }
  while (!seen.empty() && seen.back().empty())
    seen.pop_back();
  return seen;
}

std::string notches(int count)
{
  std::string burst;
  for (int notch = 0; notch < count; ++notch)
    burst += "~ ";
  return burst;
}

TEST(keyboard_queue, presses_shorter_than_a_frame_arrive_in_order_one_frame_each)
{
  const struct { std::string burst; std::vector<std::string> frames; } rows[] = {
      // typed text: Shift held around h only, the doubled l released for a frame between
      {"+^ +h -h -^ +e -e +l -l +l -l +o -o", {"^H", "e", "l", "", "l", "o"}},
      // a doubled letter, the second with Shift let go in the frame of its press
      {"+a -a +^ +a -^ -a", {"a", "^", "A"}},
      {"+a +b", {"ab"}},  // presses that last are seen together, as polled
      {"+a -a +a", {"a", "", "a"}},
      {"+^ +* -* -^ +* -*", {"^*", ".", "*", "."}},  // clicks, Shift around the first only
      // a release behind a waiting change goes through; a press waits to keep its order
      {"+* +a -a +a -a -*", {"a*", ".", "a"}},
      // a flick of the wheel holds up no key, and every notch is counted
      {notches(30) + "+q", {"q~30"}},
      {notches(600) + "+q -q", {"q~600"}},
  };
  for (const auto &row : rows) {
    releaseall();
    EXPECT_EQ(framesafter(row.burst.c_str()), row.frames) << row.burst;
  }
  releaseall();
}

}  // namespace
