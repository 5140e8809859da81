// The set-up screen as the player sees it: a capture of the real window shows each caption at
// its place in the brightness of its state, the hotkey letters marked, and the colour bars.
#include "setuprun.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

using picture = std::vector<unsigned char>;

struct colour {
  int r, g, b;
};

colour pixelat(const picture &frame, int x, int y)
{
  const unsigned char *p = &frame[(size_t(y) * 640 + x) * 3];
  return {p[0], p[1], p[2]};
}

// the brightest value of a channel in a 16x16 character cell: a glyph's stroke at the caption's
// brightness
int cellbrightness(const picture &frame, int x, int y, int colour::*channel = &colour::r)
{
  int brightest = 0;
  for (int dy = 0; dy < 16; ++dy)
    for (int dx = 0; dx < 16; ++dx)
      brightest = std::max(brightest, pixelat(frame, x + dx, y + dy).*channel);
  return brightest;
}

constexpr int full = 255, on = 255, normal = 191;  // 8/8 and 6/8 of white

// what each character cell of a caption should show: '*' full (marked or on), '.' normal,
// ' ' nothing
struct caption {
  const char *text;
  int x, y;
  const char *cells;
};

void expectcaptions(const picture &frame, const std::vector<caption> &captions)
{
  for (const caption &c : captions)
    for (int k = 0; c.text[k]; ++k) {
      int seen = cellbrightness(frame, c.x + 16 * k, c.y);
      int wanted = c.cells[k] == '*' ? full : c.cells[k] == '.' ? normal : 0;
      EXPECT_NEAR(seen, wanted, 3) << '"' << c.text << "\" character " << k;
    }
}

class setuppicture : public ::testing::Test {
protected:
  std::string dir = makeworkdir();
  setuprun run{dir};

  void SetUp() override { ASSERT_TRUE(run.waitforwindow()) << run.errors(); }
  void TearDown() override
  {
    run.press("Escape");
    EXPECT_EQ(run.waitforexit(), 0);
  }
  // the picture with the pointer parked in the empty bottom-right corner
  picture shot()
  {
    run.pointto(600, 440);
    picture frame = run.capture();
    EXPECT_FALSE(frame.empty()) << "xwd could not capture the window";
    return frame;
  }
};

TEST_F(setuppicture, captions_show_their_state_and_hotkey_letters)
{
  picture frame = shot();
  ASSERT_FALSE(frame.empty());
  expectcaptions(frame, {
                            {"Resolution", 0, 96, "**********"},
                            {"Done", 4, 4, "...."},  // Escape has no letter to mark
                            {"1. 640x480", 4, 128, "** *******"},  // on: 640 is the default
                            {"2. 800x600", 4, 144, "*. ......."},
                            {"3. 1024x768", 4, 160, "*. ........"},
                            {"4. 1280x960", 4, 176, "*. ........"},
                            {"Fullscreen", 4, 208, "*........."},
                            {"Mouse Unlocked", 4, 240, "***** ********"},
                            {"Sound", 4, 272, "*****"},
                            {"Interface", 4, 304, "*********"},
                            {"Text", 4, 336, "*..."},
                            {"Color", 80, 336, "....."},
                            {"Low Texture Detail", 4, 368, "... ....... ......"},
                        });
  // nothing is drawn where the bars would be
  EXPECT_EQ(cellbrightness(frame, 400, 40), 0);
}

TEST_F(setuppicture, text_shows_the_bars_and_lights_both_of_its_captions)
{
  run.press("t");
  picture frame = shot();
  ASSERT_FALSE(frame.empty());
  expectcaptions(frame, {{"Text", 4, 336, "****"}, {"Color", 80, 336, "*****"}});
  // each strip ramps from black to its colour
  const struct { int y; colour right; } bars[] = {
      {48, {255, 0, 0}}, {112, {0, 255, 0}}, {176, {0, 0, 255}}};
  for (const auto &bar : bars) {
    SCOPED_TRACE(testing::Message() << "bar at y " << bar.y);
    colour left = pixelat(frame, 289, bar.y), middle = pixelat(frame, 416, bar.y);
    colour right = pixelat(frame, 538, bar.y);
    EXPECT_LE(left.r + left.g + left.b, 6);
    EXPECT_NEAR(middle.r, bar.right.r / 2, 4);
    EXPECT_NEAR(middle.g, bar.right.g / 2, 4);
    EXPECT_NEAR(middle.b, bar.right.b / 2, 4);
    EXPECT_NEAR(right.r + right.g + right.b, 250, 8);
    // the value 1.0 puts the grey marker on the right edge, reaching past the strip
    colour marker = pixelat(frame, 544, bar.y - 16 - 2);
    EXPECT_NEAR(marker.r, 128, 2);
    EXPECT_NEAR(marker.g, 128, 2);
    EXPECT_NEAR(marker.b, 128, 2);
  }
}

TEST_F(setuppicture, color_is_written_in_the_colour_the_bars_make)
{
  run.press("t");
  run.pointto(288, 48);  // the red bar's left end: no red
  run.buttondown();
  run.buttonup();
  picture frame = shot();
  ASSERT_FALSE(frame.empty());
  for (int k = 0; k < 5; ++k) {
    EXPECT_LE(cellbrightness(frame, 80 + 16 * k, 336, &colour::r), 3) << "character " << k;
    EXPECT_NEAR(cellbrightness(frame, 80 + 16 * k, 336, &colour::g), 255, 3) << "character " << k;
  }
  EXPECT_NEAR(cellbrightness(frame, 4, 336, &colour::r), 255, 3);  // "Text" stays white
}

}  // namespace
