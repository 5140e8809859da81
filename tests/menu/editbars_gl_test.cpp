// Colour edit bars drawn in a real GL window: the ramp, the marker and the state left behind.
#include "engine.h"
#include "glwindow.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

class editbarsdrawing : public ::testing::Test {
protected:
  float value = 0.0f;
  void SetUp() override
  {
    setuptextdisplay();
    clearframe();
    editbar[0] = {100, 100, 200, 20, 1.0f, 0.0f, 0.0f, &value};
    numofeditbars = 1;
  }
};

TEST_F(editbarsdrawing, the_strip_ramps_from_black_to_its_colour)
{
  value = 0.5f;
  rendereditbars();
  EXPECT_LE(readpixel(101, 110).r, 3);
  EXPECT_NEAR(readpixel(150, 110).r, 64, 3);
  EXPECT_NEAR(readpixel(298, 110).r, 252, 3);
  EXPECT_EQ(readpixel(250, 110).g, 0);
  EXPECT_EQ(readpixel(302, 110).r, 0);  // past the right edge
}

TEST_F(editbarsdrawing, the_grey_marker_sits_at_the_value_and_reaches_past_the_strip)
{
  rendereditbars();  // 0.0: centred on the left edge
  EXPECT_NEAR(readpixel(98, 98).r, 128, 1);
  EXPECT_NEAR(readpixel(101, 121).g, 128, 1);
  EXPECT_EQ(readpixel(104, 110).g, 0);

  clearframe();
  value = 1.5f;  // a value from a file is not clamped: the marker lies right of the strip
  rendereditbars();
  EXPECT_NEAR(readpixel(400, 110).b, 128, 1);
}

TEST_F(editbarsdrawing, texturing_comes_back_on_with_the_marker_grey_current)
{
  numofeditbars = 0;
  rendereditbars();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(readpixel(150, 110).r, 0);

  numofeditbars = 1;
  rendereditbars();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLfloat current[4];
  glGetFloatv(GL_CURRENT_COLOR, current);
  EXPECT_FLOAT_EQ(current[0], 0.5f);
  EXPECT_FLOAT_EQ(current[2], 0.5f);
}

}  // namespace
