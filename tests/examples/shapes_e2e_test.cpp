// The guide's 2-D example as a player without a mouse uses it: the menu's focus moved, colours
// chosen and Quit taken by the keys alone, and by a pad alone: a virtual one, which only SDL 1.2
// over SDL2 can attach, whose hat the pad's named layout takes as the d-pad, button 0 as south
// and 1 as east.
#include "engine.h"
#include "setuprun.h"

#include <array>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

using rgb = std::array<unsigned char, 3>;

// true once the window's pixel (x, y) shows the colour, looking again for up to three seconds
bool shows(setuprun &run, int x, int y, rgb colour)
{
  for (int look = 0; look < 30; ++look) {
    const std::vector<unsigned char> frame = run.capture();
    const size_t at = (size_t(y) * 640 + x) * 3;
    if (!frame.empty() && rgb{frame[at], frame[at + 1], frame[at + 2]} == colour)
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

// each step by a key or by the pad, or by neither, then a pixel to look at, if any
const struct {
  const char *key, *pad;
  int value, x = 0, y = 0;
  rgb colour = {};
} steps[] = {{"Down", "hat 0", hatdown},  // Spin
             {"Down", "hat 0", hatdown},  // Blue, under it
             {"Right", "hat 0", hatright},  // Green
             {"Return", "button 0", 1, 480, 360, {0, 255, 0}},  // the square
             {"", "", 0, 168, 336, {255, 255, 255}},  // Green's diamond, filled
             {"", "", 0, 200, 326, {255, 255, 255}},  // the focus's outline about it
             {"Tab", "axis 0", 32767},  // Red
             {"space", "button 0", 1, 480, 360, {255, 0, 0}},
             {"Escape", "button 1", 1}};  // the back item, Quit

// a run with nothing but the keys, or nothing but the pad, moved through the file padfile
void drive(bool pad)
{
  const std::string dir = makeworkdir(), padfile = dir + "/pad.txt";
  std::ofstream(padfile).close();
  const std::string preload = pad ? TAVREL_VIRTUALPAD_LIBRARY : "";
  // the test machine has no sound card
  setuprun run(dir, {"env", "SDL_AUDIODRIVER=dummy", "LD_PRELOAD=" + preload,
                     "TAVREL_VIRTUALPAD=" + padfile}, true, TAVREL_SHAPES_BINARY);
  ASSERT_TRUE(run.waitforwindow(10000, "Shapes")) << run.errors();
  // on sdl12-compat a key sent the moment the window maps was now and then lost
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  for (const auto &step : steps) {
    if (pad && *step.pad) {  // a press and its release, which the pad takes a frame each
      std::ofstream(padfile, std::ios::app) << step.pad << ' ' << step.value << '\n'
                                            << step.pad << " 0\n";
    } else if (!pad && *step.key) {
      run.press(step.key);
    }
    if (step.x) {
      EXPECT_TRUE(shows(run, step.x, step.y, step.colour)) << step.x << "," << step.y;
    }
  }
  EXPECT_EQ(run.waitforexit(), 0) << run.errors();
}

TEST(shapes_menu, keys_alone_move_the_focus_choose_colours_and_quit)
{
  drive(false);
}

// waits for the joystick poll that fills namedpad by the pad's layout
TEST(shapes_menu, a_pad_alone_moves_the_focus_chooses_colours_and_quits)
{
  if (!oversdl2())
    GTEST_SKIP() << "classic SDL 1.2 has no virtual joysticks";
  drive(true);
}

}  // namespace
