// Presses and clicks quicker than a frame, with every frame held to 30 ms as on a 33 Hz display:
// quick taps and a click on the set-up screen, and text typed at full speed into a field, in a US
// layout and in a French one with its accented keys and dead keys.
#include "setuprun.h"
#include "xserver.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

TEST(input_quick, taps_and_a_click_quicker_than_a_frame_all_take_effect)
{
  std::string dir = makeworkdir();
  setuprun run(dir, slowframes());
  ASSERT_TRUE(run.waitforwindow()) << run.errors();
  run.pointto(4 + 16 * 4 + 8, 368 + 8);          // over "Low Texture Detail"
  xdotool({"click", "1"});                       // down and up at once
  // a flick of the wheel and the middle button in the same frame as the keys, more events than
  // the platform's queue holds: the keys must not be pushed out of it
  xdotool({"click", "--repeat", "100", "--delay", "0", "4", "click", "--repeat", "20", "--delay",
           "0", "2", "key", "3", "f", "m", "Escape"});  // each press sent with its release
  ASSERT_EQ(run.waitforexit(), 0) << run.errors();
  bytes file = readbytes(dir + "/hwconfig.cfg");
  ASSERT_EQ(file.size(), 444u);
  EXPECT_EQ(le32at(file, 4), 1024u);  // width
  EXPECT_EQ(le32at(file, 16), 1u);    // full screen
  EXPECT_EQ(le32at(file, 32), 0u);    // mouse unlocked
  EXPECT_EQ(le32at(file, 52), 1u);    // low texture detail
}

TEST(input_typing, text_typed_at_full_speed_arrives_whole_in_order_and_with_its_modifiers)
{
  const std::string text = "Hello, World! Bookkeeper's 1100 = 0x44C; a_Zz?";
  std::string dir = makeworkdir();
  setuprun run(dir, slowframes(), true, TAVREL_TYPINGFIELD_BINARY);
  ASSERT_TRUE(run.waitforwindow(10000, "Typing field")) << run.errors();
  // on sdl12-compat a key sent the moment the window maps was now and then lost before the
  // program took the keyboard; a player never types that fast after start-up
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  // chords whose modifier goes up in the burst of the key's press, as fast typists and input tools
  // send them: capitals, two selected and replaced by the text, Ctrl, Alt and Super typing nothing;
  // before the text, whose backlog in the queue would keep each Shift in place by waiting alone
  const std::pair<const char *, const char *> chords[] = {
      {"shift", "a"},    {"shift", "a"}, {"shift", "a"}, {"shift", "a"}, {"shift", "Left"},
      {"shift", "Left"}, {"ctrl", "c"},  {"alt", "x"},   {"super", "v"}};
  std::vector<std::string> bursts;
  for (const auto &[modifier, key] : chords)
    bursts.insert(bursts.end(), {"keydown", modifier, "sleep", "0.1", "keydown", "--delay", "0",
                                 key, "keyup", "--delay", "0", modifier, "keyup", "--delay", "0",
                                 key, "sleep", "0.1"});
  xdotool(bursts);
  xdotool({"type", text});  // at its default speed, a key every 12 ms
  xdotool({"key", "Return"});
  ASSERT_EQ(run.waitforexit(20000), 0) << run.errors();
  EXPECT_EQ(readtext(dir + "/typed.txt"), "AA" + text);
}

// the keyboard layout of the test's X server while it lives (setxkbmap comes with Xvfb), then the
// US layout the server starts with; set before the program starts, which reads it once
struct keyboardlayout {
  explicit keyboardlayout(const std::string &layout)
  {
    startxserver();
    EXPECT_EQ(std::system(("setxkbmap -layout " + layout).c_str()), 0);
  }
  ~keyboardlayout() { EXPECT_EQ(std::system("setxkbmap -layout us"), 0); }
};

// "é" has a key of its own, whose symbol classic SDL 1.2 and sdl12-compat name differently; "ü" is
// the dead diaeresis then "u", which classic SDL 1.2 sends as a character without a key. (A US
// layout would have xdotool map "é" to a spare key for a moment, which neither runtime reads
// reliably: classic SDL 1.2 loses its press or release, sdl12-compat the whole key.)
TEST(input_typing, an_accented_name_arrives_as_the_layout_and_its_dead_keys_make_it)
{
  std::string dir = makeworkdir();
  const keyboardlayout french("fr");
  setuprun run(dir, slowframes(), true, TAVREL_TYPINGFIELD_BINARY);
  ASSERT_TRUE(run.waitforwindow(10000, "Typing field")) << run.errors();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // as in the test above
  xdotool({"type", "Jos\xc3\xa9 M"});
  xdotool({"key", "dead_diaeresis", "u"});
  xdotool({"type", "ller"});
  // and spelt out after all: the cursor stepped back over whole characters, the "ü" rubbed out
  xdotool({"key", "Left", "Left", "Left", "Left", "BackSpace"});
  xdotool({"type", "ue"});
  xdotool({"key", "Return"});
  ASSERT_EQ(run.waitforexit(20000), 0) << run.errors();
  EXPECT_EQ(readtext(dir + "/typed.txt"), "Jos\xc3\xa9 Mueller");
}

}  // namespace
