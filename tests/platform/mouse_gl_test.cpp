// The mouse poll in a real window: scaling into the virtual screen, clamping, buttons, focus.
#include "engine.h"
#include "glwindow.h"

#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

#include <SDL_syswm.h>  // after gtest: it brings in X11's macros

namespace {

void pointerat(int x, int y)
{
  SDL_WarpMouse(Uint16(x), Uint16(y));
  SDL_PumpEvents();
}

// presses or releases a real button through the X server and lets SDL see it
void button(const char *action, int number)
{
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  ASSERT_EQ(SDL_GetWMInfo(&info), 1);
  std::string command = "xdotool mousemove --window " + std::to_string(info.info.x11.window) +
                        " 100 100 " + action + " " + std::to_string(number);
  ASSERT_EQ(system(command.c_str()), 0);
  for (int i = 0; i < 50; ++i) {
    SDL_Delay(10);
    SDL_PumpEvents();
  }
}

class mousetest : public ::testing::Test {
protected:
  void SetUp() override { windowinfo = {640, 480, 16, 0, 0, 1, 1}; }
  void TearDown() override { windowinfo = {640, 480, 16, 0, 0, 1, 1}; }
};

TEST_F(mousetest, window_pixels_scale_into_the_virtual_screen)
{
  pointerat(100, 50);
  checkmouse();
  EXPECT_EQ(winmouse.x, 100);
  EXPECT_EQ(mouse.x, 100);
  EXPECT_EQ(mouse.y, 50);

  // the same pointer in a window the poll takes to be 800x600
  windowinfo.width = 800;
  windowinfo.height = 600;
  pointerat(400, 300);
  checkmouse();
  EXPECT_EQ(mouse.x, 320);
  EXPECT_EQ(mouse.y, 240);
  pointerat(399, 299);
  checkmouse();
  EXPECT_EQ(mouse.x, 319);  // 399 * 640 / 800 = 319.2, truncated
  EXPECT_EQ(mouse.y, 239);
}

TEST_F(mousetest, positions_past_the_virtual_screen_are_clamped)
{
  windowinfo.width = 320;
  windowinfo.height = 240;
  pointerat(639, 479);
  checkmouse();
  EXPECT_EQ(mouse.x, 639);
  EXPECT_EQ(mouse.y, 479);
  EXPECT_EQ(winmouse.x, 639);
}

TEST_F(mousetest, the_left_button_is_released_once_after_being_held)
{
  button("mousedown", 1);
  checkmouse();
  EXPECT_EQ(mouse.left, 1);
  EXPECT_EQ(mouse.leftreleased, 0);
  checkmouse();
  EXPECT_EQ(mouse.leftreleased, 0);
  button("mouseup", 1);
  checkmouse();
  EXPECT_EQ(mouse.left, 0);
  EXPECT_EQ(mouse.leftreleased, 1);
  checkmouse();
  EXPECT_EQ(mouse.leftreleased, 0);
}

// as a frame polls: sdl12-compat never shows the wheel as held, only as a press and a release
// in its events, which the frame's event drain hands out
void pollframe()
{
  checksystemmessages();
  checkmouse();
}

TEST_F(mousetest, the_right_button_and_the_wheel_read_from_their_own_bits)
{
  SDL_Event earlier;
  while (SDL_PollEvent(&earlier)) {  // what the tests before left unread
  }
  button("mousedown", 3);
  pollframe();
  EXPECT_EQ(mouse.right, 1);
  EXPECT_EQ(mouse.left, 0);
  button("mouseup", 3);
  pollframe();
  EXPECT_EQ(mouse.rightreleased, 1);
  button("mousedown", 2);  // the middle button is not recorded
  pollframe();
  EXPECT_EQ(mouse.left + mouse.right + mouse.wheelup + mouse.wheeldown, 0);
  button("mouseup", 2);
  for (int wheel : {4, 5}) {  // up, then down
    button("mousedown", wheel);
    pollframe();
    EXPECT_EQ(mouse.wheelup, wheel == 4);
    EXPECT_EQ(mouse.wheeldown, wheel == 5);
    EXPECT_EQ(mousewheel, wheel == 4 ? 1 : -1);
    button("mouseup", wheel);
  }
  pollframe();
  EXPECT_EQ(mouse.wheelup + mouse.wheeldown, 0);
}

TEST_F(mousetest, without_the_focus_the_pointer_is_parked_and_a_held_button_lets_go)
{
  button("mousedown", 1);
  checkmouse();
  ASSERT_EQ(mouse.left, 1);
  windowinfo.active = 0;
  checkmouse();
  EXPECT_EQ(mouse.x, 320);
  EXPECT_EQ(mouse.y, 240);
  EXPECT_EQ(mouse.left, 0);
  EXPECT_EQ(mouse.leftreleased, 1);
  button("mouseup", 1);
}

}  // namespace
