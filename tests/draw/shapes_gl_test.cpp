// Shapes and sprites in a real GL window: the pixels a turned sprite, a tint and the rectangles'
// edges cover at two window sizes, under either 2-D set-up, stacked with text in call order.
#include "engine.h"
#include "fontfixture.h"
#include "glwindow.h"

#include <GL/gl.h>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace {

using setupcall = void (*)();
const setupcall setups[] = {setuptextdisplay, setupscreen2d};
constexpr int spriteslot = 5;

bool lit(int x, int y) { return readpixel(x, y).r + readpixel(x, y).g + readpixel(x, y).b > 0; }

class shapesgltest : public scratchdirtest {
protected:
  void SetUp() override
  {
    scratchdirtest::SetUp();
    windowinfo = {640, 480, 16, 0, 0, 1, 1};
    clearframe();
  }
  void TearDown() override
  {
    freetexture(spriteslot);
    settexture(fontslot, 0, 0, 0, nullptr);
    windowinfo = {640, 480, 16, 0, 0, 1, 1};
    scratchdirtest::TearDown();
  }
  // a side x side slot of one opaque colour, uploaded unfiltered
  void fillslot(int side, uint8_t red, uint8_t green, uint8_t blue)
  {
    auto *pixels = static_cast<unsigned char *>(malloc(texturebytes(side, side, 0)));
    for (int i = 0; i < side * side; ++i) {
      const unsigned char pixel[4] = {red, green, blue, 255};
      std::copy_n(pixel, 4, pixels + i * 4);
    }
    settexture(spriteslot, side, side, 0, pixels);
    uploadtexture(spriteslot, GL_CLAMP, GL_NEAREST, GL_NEAREST);
  }
};

TEST_F(shapesgltest, a_sprite_turned_45_degrees_is_a_diamond)
{
  fillslot(64, 0, 0, 255);
  for (setupcall setup : setups) {
    clearframe();
    setup();
    drawsprite(spriteslot, 0, 0, 64, 64, 320, 240, 1, 45, 1, 1, 1, 1);
    // the tips reach 45 pixels out along the axes; the unturned square's corners stay empty
    EXPECT_EQ(readpixel(320, 240).b, 255);
    EXPECT_EQ(readpixel(320 + 42, 240).b, 255);
    EXPECT_EQ(readpixel(320, 240 - 42).b, 255);
    EXPECT_FALSE(lit(320 + 28, 240 + 28));
    EXPECT_FALSE(lit(320 - 28, 240 - 28));
  }
}

TEST_F(shapesgltest, the_tint_and_alpha_blend_over_what_was_drawn)
{
  fillslot(4, 255, 255, 255);
  setupscreen2d();
  drawrectangle(0, 0, 64, 64, 0, 0, 1, 1);
  // twice a 4x4 source, turned a quarter, half transparent orange over the blue
  drawsprite(spriteslot, 0, 0, 4, 4, 32, 32, 2, 90, 1, 0.5f, 0, 0.5f);
  const rgba p = readpixel(32, 32);
  EXPECT_NEAR(p.r, 128, 2);
  EXPECT_NEAR(p.g, 64, 2);
  EXPECT_NEAR(p.b, 128, 2);
  EXPECT_EQ(readpixel(32 + 6, 32).b, 255) << "outside the 8x8 sprite";
}

// each shape's lit box in virtual pixels, and a pixel inside the box that it leaves dark
struct shapecase {
  const char *name;
  std::function<void()> draw;
  int x0, y0, x1, y1;
  int holex = -1, holey = -1;  // -1: none
  bool pixelsonly = false;     // a game's own vertices are virtual pixels only after setupscreen2d
};

TEST_F(shapesgltest, edges_land_on_the_virtual_pixels_at_each_window_size)
{
  const shapecase cases[] = {
      {"rectangle", [] { drawrectangle(40, 40, 160, 80, 1, 0, 0, 1); }, 40, 40, 200, 120},
      {"negative sides", [] { drawrectangle(200, 120, -160, -80, 1, 0, 0, 1); }, 40, 40, 200,
       120},
      {"outline", [] { drawrectangleoutline(100, 100, 60, 40, 4, 1, 1, 1, 1); }, 100, 100, 160,
       140, 106, 106},
      {"line", [] { drawline(20, 300, 220, 300, 8, 1, 1, 1, 1); }, 20, 296, 220, 304},
      {"game's own quad", [] {
         glDisable(GL_TEXTURE_2D);
         glBegin(GL_QUADS);
         glVertex2f(40, 40), glVertex2f(200, 40), glVertex2f(200, 120), glVertex2f(40, 120);
         glEnd();
       }, 40, 40, 200, 120, -1, -1, true},
  };
  for (int scale : {2, 1}) {  // 640x480, then 320x240 in the window's lower left
    for (const shapecase &c : cases) {
      for (setupcall setup : setups) {
        if (c.pixelsonly && setup == setuptextdisplay)
          continue;
        windowinfo.width = 320 * scale;
        windowinfo.height = 240 * scale;
        clearframe();
        setup();
        c.draw();
        const auto at = [&](int v) { return v * scale / 2; };
        SCOPED_TRACE(std::string(c.name) + " at scale " + std::to_string(scale));
        EXPECT_TRUE(lit(at(c.x0), at(c.y0)));
        EXPECT_TRUE(lit(at(c.x1) - 1, at(c.y1) - 1));
        EXPECT_FALSE(lit(at(c.x0) - 1, at(c.y0)));
        EXPECT_FALSE(lit(at(c.x0), at(c.y0) - 1));
        EXPECT_FALSE(lit(at(c.x1), at(c.y1) - 1));
        EXPECT_FALSE(lit(at(c.x1) - 1, at(c.y1)));
        if (c.holex >= 0) {
          EXPECT_FALSE(lit(at(c.holex), at(c.holey)));
        }
      }
    }
  }
}

TEST_F(shapesgltest, shapes_and_text_stack_in_the_order_drawn)
{
  fontfile file;
  file.red = [](int, int) { return uint8_t(255); };
  writefont(file.bytes());
  loadfont();
  fillslot(4, 255, 255, 0);
  for (setupcall setup : setups) {
    clearframe();
    setup();
    drawtext("/c", 0, 0, 32, 1, 0, 0, 1, 127);
    drawrectangle(16, 0, 32, 32, 0, 1, 0, 1);
    drawtext("/c", 32, 0, 32, 0, 0, 1, 1, 127);
    drawsprite(spriteslot, 0, 0, 4, 4, 64, 16, 4, 0, 1, 1, 1, 1);
    drawline(64, 0, 64, 32, 2, 1, 0, 1, 1);
    const rgba p[] = {readpixel(8, 8), readpixel(24, 8), readpixel(40, 8), readpixel(56, 8),
                      readpixel(64, 8)};
    EXPECT_EQ(p[0].r, 255);
    EXPECT_EQ(p[1].g, 255);
    EXPECT_EQ(p[1].r, 0);
    EXPECT_EQ(p[2].b, 255);
    EXPECT_EQ(p[2].g, 0);
    EXPECT_EQ(p[3].r + p[3].g, 510) << "the sprite over the second cell";
    EXPECT_EQ(p[4].b, 255) << "the line over the sprite";
    EXPECT_EQ(p[4].g, 0);
  }
}

}  // namespace
