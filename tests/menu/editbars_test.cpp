// Colour edit bars: the drag arithmetic at the strip's edges, Ctrl snapping and Shift copying.
#include "engine.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

class editbarstest : public ::testing::Test {
protected:
  float red = 0.5f, green = 0.5f, blue = 0.5f;

  void SetUp() override
  {
    memset(keyboard, 0, keycount);
    mouse = {};
    float *values[] = {&red, &green, &blue};
    for (int i = 0; i < 3; ++i)
      editbar[i] = {288, 32 + 64 * i, 256, 32, i == 0 ? 1.0f : 0.0f, i == 1 ? 1.0f : 0.0f,
                    i == 2 ? 1.0f : 0.0f, values[i]};
    numofeditbars = 3;
  }
  // one frame's drag at a virtual point
  void dragat(int x, int y, bool held = true)
  {
    mouse.x = x;
    mouse.y = y;
    mouse.left = held;
    checkeditbars();
  }
};

TEST_F(editbarstest, the_strip_spans_from_zero_to_just_below_one)
{
  dragat(288, 40);
  EXPECT_EQ(red, 0.0f);
  dragat(543, 40);
  EXPECT_EQ(red, 0.99609375f);
  dragat(544, 40);  // one past the right edge
  EXPECT_EQ(red, 0.99609375f);
  dragat(287, 40);
  EXPECT_EQ(red, 0.99609375f);
}

TEST_F(editbarstest, the_bottom_row_counts_and_the_row_below_does_not)
{
  dragat(300, 63);  // y + height - 1
  EXPECT_EQ(red, 12.0f / 256.0f);
  dragat(400, 64);  // y + height: the gap above the green bar
  EXPECT_EQ(red, 12.0f / 256.0f);
  EXPECT_EQ(green, 0.5f);
  dragat(300, 96);
  EXPECT_EQ(green, 12.0f / 256.0f);
}

TEST_F(editbarstest, nothing_changes_with_the_button_up_whatever_keys_are_held)
{
  keyboard[key_lctrl] = keyboard[key_lshift] = 1;
  dragat(400, 40, false);
  EXPECT_EQ(red, 0.5f);
  EXPECT_EQ(green, 0.5f);
}

TEST_F(editbarstest, ctrl_snaps_to_the_nearest_eighth_and_half_way_goes_up)
{
  keyboard[key_lctrl] = 1;
  dragat(543, 40);
  EXPECT_EQ(red, 1.0f);
  dragat(288 + 16, 40);  // 0.0625, exactly half-way
  EXPECT_EQ(red, 0.125f);
  dragat(288 + 12, 40);  // 0.046875
  EXPECT_EQ(red, 0.0f);
  dragat(288 + 128, 40);
  EXPECT_EQ(red, 0.5f);
}

TEST_F(editbarstest, shift_gives_every_bar_the_value_snapped_when_ctrl_is_held_too)
{
  keyboard[key_lshift] = 1;
  dragat(288 + 64, 100);  // the green bar
  EXPECT_EQ(red, 0.25f);
  EXPECT_EQ(green, 0.25f);
  EXPECT_EQ(blue, 0.25f);
  keyboard[key_lctrl] = 1;
  dragat(288 + 100, 170);  // the blue bar: 0.390625 snaps to 0.375
  EXPECT_EQ(red, 0.375f);
  EXPECT_EQ(green, 0.375f);
  EXPECT_EQ(blue, 0.375f);
}

TEST_F(editbarstest, only_bars_in_use_are_edited_or_copied_into)
{
  numofeditbars = 1;
  keyboard[key_lshift] = 1;
  dragat(288 + 64, 40);
  EXPECT_EQ(red, 0.25f);
  EXPECT_EQ(green, 0.5f);  // the slot is not in use this frame: its pointer is not written
  dragat(288 + 64, 100);
  EXPECT_EQ(green, 0.5f);
  numofeditbars = 0;
  dragat(288, 40);
  EXPECT_EQ(red, 0.25f);
  numofeditbars = 99;  // a count past the table never reaches beyond it
  dragat(288, 40);
  EXPECT_EQ(red, 0.0f);
}

TEST_F(editbarstest, a_bar_without_area_is_never_hit)
{
  editbar[0].width = 0;
  dragat(288, 40);
  EXPECT_EQ(red, 0.5f);
}

}  // namespace
