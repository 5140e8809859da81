// The shipped artwork: data/font.bmp, data/tvr.bmp, data/floor.bmp and the demo's sounds are what
// tools/artwork makes, the font holds a glyph for every printable character with strokes two
// texels wide, the pointer's tip is the centre of its block, code 127 is solid, and SDL reads the
// icon.
#include "artwork.h"
#include "engine.h"

#include <SDL.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

#ifndef TAVREL_DATA_DIR
#error "TAVREL_DATA_DIR must name the artwork directory"
#endif

namespace {

std::vector<unsigned char> readdata(const char *name)
{
  std::ifstream in(std::string(TAVREL_DATA_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// the shipped font as loadfont reads it: the alpha of each of the image's texels
class shippedfont : public ::testing::Test {
protected:
  static std::vector<unsigned char> texels;

  static void SetUpTestSuite()
  {
    std::vector<unsigned char> bytes = readdata("font.bmp");
    texels.assign(size_t(fontwidth) * fontheight * 4, 0);
    ASSERT_EQ(decodefont(bytes.data(), bytes.size(), texels.data()), 1);
  }
  static bool ink(int x, int y)
  {
    return x >= 0 && y >= 0 && x < fontimagewidth && y < fontimageheight &&
           texels[(size_t(y) * fontwidth + x) * 4 + 3] != 0;
  }
  // the number of inked texels of the block at (left, top)
  static int inkin(int left, int top, int width, int height)
  {
    int count = 0;
    for (int y = top; y < top + height; ++y)
      for (int x = left; x < left + width; ++x)
        count += ink(x, y);
    return count;
  }
  static int cellleft(int code) { return (code & 15) * fontcell; }
  static int celltop(int code) { return (code >> 4) * fontcell; }
};
std::vector<unsigned char> shippedfont::texels;

TEST(artwork_files, are_what_the_generator_draws)
{
  EXPECT_TRUE(readdata("font.bmp") == fontbmp()) << "run the regenerate target of tools/artwork";
  EXPECT_TRUE(readdata("tvr.bmp") == iconbmp()) << "run the regenerate target of tools/artwork";
  EXPECT_TRUE(readdata("floor.bmp") == floorbmp()) << "run the regenerate target of tools/artwork";
  EXPECT_TRUE(readdata("ambient.wav") == ambientwav()) << "run the regenerate target";
  EXPECT_TRUE(readdata("gem.wav") == gemwav()) << "run the regenerate target";
}

TEST_F(shippedfont, every_printable_character_has_a_glyph)
{
  for (int code = 33; code <= 126; ++code)
    EXPECT_GE(inkin(cellleft(code), celltop(code), fontcell, fontcell), 8) << char(code);
  EXPECT_EQ(inkin(cellleft(' '), celltop(' '), fontcell, fontcell), 0);
}

// every inked texel of a glyph lies in a 2x2 square of ink: no stroke is one texel thin
TEST_F(shippedfont, glyph_strokes_are_at_least_two_texels_wide)
{
  for (int code = 33; code <= 126; ++code)
    for (int y = celltop(code); y < celltop(code) + fontcell; ++y)
      for (int x = cellleft(code); x < cellleft(code) + fontcell; ++x) {
        if (!ink(x, y))
          continue;
        bool square = false;
        for (int dy = -1; dy <= 0; ++dy)
          for (int dx = -1; dx <= 0; ++dx)
            square = square || (ink(x + dx, y + dy) && ink(x + dx + 1, y + dy) &&
                                ink(x + dx, y + dy + 1) && ink(x + dx + 1, y + dy + 1));
        EXPECT_TRUE(square) << "'" << char(code) << "' at " << x - cellleft(code) << ","
                            << y - celltop(code);
      }
}

TEST_F(shippedfont, code_127_is_a_solid_cell)
{
  EXPECT_EQ(inkin(cellleft(127), celltop(127), fontcell, fontcell), fontcell * fontcell);
}

TEST_F(shippedfont, the_pointer_tip_is_the_centre_of_its_block)
{
  EXPECT_TRUE(ink(16, 16));
  EXPECT_EQ(inkin(0, 0, 32, 16), 0);   // nothing above the tip
  EXPECT_EQ(inkin(0, 0, 16, 32), 0);   // nothing left of it
  EXPECT_TRUE(ink(16, 17) && ink(17, 17));  // it widens downwards and to the right
  EXPECT_GE(inkin(16, 16, 16, 16), 80);     // a solid arrow, not an outline
}

TEST(artwork_icon, is_a_32_square_that_sdl_reads)
{
  std::vector<unsigned char> bytes = readdata("tvr.bmp");
  SDL_Surface *icon = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1);
  ASSERT_NE(icon, nullptr) << SDL_GetError();
  EXPECT_EQ(icon->w, 32);
  EXPECT_EQ(icon->h, 32);
  EXPECT_EQ(icon->format->BitsPerPixel, 24);
  SDL_FreeSurface(icon);
}

}  // namespace
