// Shapes and sprites in a real GL window, under either 2-D set-up: a turned sprite's pixels, the
// rectangles' edges at two window sizes, and shapes, tinted sprites and text stacked in call order.
#include "engine.h"
#include "fontfixture.h"
#include "glwindow.h"

#include <GL/gl.h>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using setupcall = void (*)();
const setupcall setups[] = {setuptextdisplay, setupscreen2d};
constexpr int spriteslot = 5;

bool lit(int x, int y)
{
  const rgba p = readpixel(x, y);
  return p.r + p.g + p.b > 0;
}

// a side x side slot of opaque white, or of blue only, uploaded unfiltered
void fillslot(int side, bool blue)
{
  auto *pixels = static_cast<unsigned char *>(malloc(texturebytes(side, side, 0)));
  for (int i = 0; i < side * side * 4; ++i)
    pixels[i] = blue && i % 4 < 2 ? 0 : 255;
  settexture(spriteslot, side, side, 0, pixels);
  uploadtexture(spriteslot, GL_CLAMP, GL_NEAREST, GL_NEAREST);
}

TEST(shapes, a_sprite_turned_45_degrees_is_a_diamond)
{
  fillslot(64, true);
  for (setupcall setup : setups) {
    clearframe();
    setup();
    drawsprite(spriteslot, 0, 0, 64, 64, 320, 240, 1, 45, 1, 1, 1, 1);
    // the tips reach 45 pixels out along the axes; the unturned square's corners stay empty
    EXPECT_EQ(readpixel(320 + 42, 240).b, 255);
    EXPECT_EQ(readpixel(320, 240 - 42).b, 255);
    EXPECT_FALSE(lit(320 + 28, 240 + 28) || lit(320 - 28, 240 - 28));
  }
}

// a shape, its lit box in virtual pixels and a pixel inside the box that it leaves dark
struct shapecase {
  const char *name;
  std::function<void()> draw;
  int x0, y0, x1, y1;
  int holex = -1, holey = -1;
  bool pixelsonly = false;  // a game's own vertices are virtual pixels only after setupscreen2d
};

TEST(shapes, edges_land_on_the_virtual_pixels_at_each_window_size)
{
  const shapecase cases[] = {
      {"rectangle", [] { drawrectangle(200, 120, -160, -80, 1, 0, 0, 1); }, 40, 40, 200, 120},
      {"outline", [] { drawrectangleoutline(100, 100, 60, 40, 4, 1, 1, 1, 1); }, 100, 100, 160,
       140, 106, 106},
      {"line", [] { drawline(20, 300, 220, 300, 8, 1, 1, 1, 1); }, 20, 296, 220, 304},
      {"own quad", [] { glDisable(GL_TEXTURE_2D), glRectf(40, 40, 200, 120); }, 40, 40, 200, 120,
       -1, -1, true},
  };
  for (int scale : {1, 2})  // 320x240 in the window's lower left, then 640x480 again
    for (const shapecase &c : cases)
      for (setupcall setup : setups) {
        if (c.pixelsonly && setup == setuptextdisplay)
          continue;
        windowinfo = {320 * scale, 240 * scale, 16, 0, 0, 1, 1};
        clearframe();
        setup();
        c.draw();
        const auto at = [&](int v) { return v * scale / 2; };
        SCOPED_TRACE(std::string(c.name) + " at scale " + std::to_string(scale));
        EXPECT_TRUE(lit(at(c.x0), at(c.y0)) && lit(at(c.x1) - 1, at(c.y1) - 1));
        EXPECT_FALSE(lit(at(c.x0) - 1, at(c.y0)) || lit(at(c.x0), at(c.y0) - 1));
        EXPECT_FALSE(lit(at(c.x1), at(c.y1) - 1) || lit(at(c.x1) - 1, at(c.y1)));
        EXPECT_FALSE(c.holex >= 0 && lit(at(c.holex), at(c.holey)));
      }
}

class shapesandtext : public scratchdirtest {};

// a BMP of side x side in four quadrants: red and green over blue and white
bytes quadrantsbmp(int side)
{
  const uint8_t quadrant[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  bytewriter file = bmpfileheader(side, side, 0);
  for (int y = side - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < side; ++x) {
      const uint8_t *rgb = quadrant[(y >= side / 2) * 2 + (x >= side / 2)];
      file.u8(rgb[2]), file.u8(rgb[1]), file.u8(rgb[0]);
    }
    for (size_t pad = size_t(side) * 3; pad < bmprowbytes(side); ++pad)
      file.u8(0);
  }
  return file.bytes;
}

TEST_F(shapesandtext, a_sprite_named_in_full_detail_pixels_draws_alike_at_either_detail)
{
  ASSERT_EQ(mkdir(texturefolder, 0755) | mkdir(lowtexturefolder, 0755), 0);
  writebytes("texture/quadrants.bmp", quadrantsbmp(64));
  writebytes("texturelow/quadrants.bmp", quadrantsbmp(16));
  std::vector<uint8_t> frames[2];
  for (int low : {0, 1}) {
    lowtexturedetail = low;
    loadtexturebmp(spriteslot, "quadrants.bmp", 0);
    ASSERT_EQ(texture[spriteslot].width, low ? 16 : 64);
    uploadtexture(spriteslot, GL_CLAMP, GL_NEAREST, GL_NEAREST);
    clearframe();
    setupscreen2d();
    drawsprite(spriteslot, 0, 0, 64, 64, 160, 240, 2, 0, 1, 1, 1, 1);  // the whole picture
    drawsprite(spriteslot, 32, 32, 32, 32, 480, 240, 2, 0, 1, 1, 1, 1);  // its white quadrant
    frames[low] = readframe();
  }
  lowtexturedetail = 0;
  EXPECT_EQ(readpixel(480 - 31, 240 - 31).b, 255);
  EXPECT_FALSE(lit(480 - 33, 240));
  EXPECT_TRUE(frames[0] == frames[1]);
}

TEST_F(shapesandtext, shapes_tinted_sprites_and_text_stack_in_the_order_drawn)
{
  fontfile file;
  file.red = [](int, int) { return uint8_t(255); };
  writefont(file.bytes());
  loadfont();
  fillslot(4, false);
  for (setupcall setup : setups) {
    clearframe();
    setup();
    drawtext("/c", 0, 0, 32, 1, 0, 0, 1, 127);
    drawrectangle(16, 0, 32, 32, 0, 1, 0, 1);
    drawtext("/c", 32, 0, 32, 0, 0, 1, 1, 127);
    // half transparent orange over the blue cell's right half, then a magenta line over that
    drawsprite(spriteslot, 0, 0, 4, 4, 56, 16, 4, 90, 1, 0.5f, 0, 0.5f);
    drawline(62, 0, 62, 32, 2, 1, 0, 1, 1);
    const rgba expected[] = {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {128, 64, 128, 0},
                             {255, 0, 255, 0}};
    const int column[] = {8, 24, 40, 50, 62};
    for (int i = 0; i < 5; ++i) {
      const rgba p = readpixel(column[i], 8), e = expected[i];
      EXPECT_TRUE(abs(p.r - e.r) <= 2 && abs(p.g - e.g) <= 2 && abs(p.b - e.b) <= 2) << i;
    }
  }
  settexture(fontslot, 0, 0, 0, nullptr);
}

}  // namespace
