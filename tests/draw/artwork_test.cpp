// The shipped artwork: data/font.bmp, data/tvr.bmp, data/floor.bmp, the demo's sounds, the icon
// theme's files and the example game's sprites and sounds are what tools/artwork makes, the font
// holds a glyph for every printable character of ASCII and Latin-1, and the replacement glyph, with
// strokes two texels wide, the pointer's tip is
// the centre of its block, code 127 is solid, SDL reads the icon, and the theme's PNGs and SVG show
// it at every size in the same colours.
#include "artwork.h"
#include "engine.h"
#include "imagefiles.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

#ifndef TAVREL_DATA_DIR
#error "TAVREL_DATA_DIR must name the artwork directory"
#endif

namespace {

std::vector<unsigned char> readdata(const char *name, const char *folder = TAVREL_DATA_DIR)
{
  std::ifstream in(std::string(folder) + "/" + name, std::ios::binary);
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
    return x >= 0 && y >= 0 && x < fontwidth && y < fontheight &&
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
  // the cells that hold a glyph: printable ASCII, Latin-1 past its no-break space, the replacement
  static std::vector<int> glyphcells()
  {
    std::vector<int> cells = {replacementcell};
    for (int code = 33; code <= 255; ++code)
      if (code <= 126 || code >= 161)
        cells.push_back(code);
    return cells;
  }
};
std::vector<unsigned char> shippedfont::texels;

TEST(artwork_files, are_what_the_generator_draws)
{
  EXPECT_TRUE(readdata("font.bmp") == fontbmp()) << "run the regenerate target of tools/artwork";
  EXPECT_TRUE(readdata("tvr.bmp") == iconbmp()) << "run the regenerate target of tools/artwork";
  EXPECT_TRUE(readdata("floor.bmp") == floorbmp()) << "run the regenerate target of tools/artwork";
  EXPECT_TRUE(readdata("ambient.wav") == ambientwav()) << "run the regenerate target";
  EXPECT_TRUE(readdata("gem.wav") == gemwav()) << "run the regenerate target";
  for (int side : iconsizes)
    EXPECT_TRUE(readdata(iconfile(side).c_str()) == iconpng(side)) << "regenerate " << side;
  const std::vector<unsigned char> svg = readdata(iconfile(0).c_str());
  EXPECT_EQ(std::string(svg.begin(), svg.end()), iconsvg()) << "run the regenerate target";
  for (const auto &[name, bytes] : arenaartwork())
    EXPECT_TRUE(readdata(name.c_str(), TAVREL_ARENA_DATA_DIR) == bytes) << "regenerate " << name;
}

// the example game's sprites as the engine's PNG loader takes them: each picture in texturelow
// half its twin in texture on either side, with a corner all but see-through and a covered centre
TEST(artwork_arena, sprites_load_at_both_details_half_size_apart)
{
  const char *folders[] = {"texture/", "texturelow/"};
  for (const char *name : {"ship.png", "blade.png", "shot.png"}) {
    int sides[2][2];
    for (int low = 0; low < 2; ++low) {
      const char *folder = folders[low];
      const std::vector<unsigned char> file =
          readdata((folder + std::string(name)).c_str(), TAVREL_ARENA_DATA_DIR);
      ASSERT_EQ(loadtexturepngbytes(1, file.data(), file.size(), 0), 1)
          << folder << name << ": " << textureloaderror();
      const textureslot &slot = texture[1];
      EXPECT_LT(slot.data[3], 32) << folder << name;
      EXPECT_GT(slot.data[(size_t(slot.height / 2) * slot.width + slot.width / 2) * 4 + 3], 128)
          << folder << name;
      sides[low][0] = slot.width;
      sides[low][1] = slot.height;
    }
    EXPECT_EQ(sides[0][0], 2 * sides[1][0]) << name;
    EXPECT_EQ(sides[0][1], 2 * sides[1][1]) << name;
  }
  freetexture(1);
}

TEST_F(shippedfont, every_printable_character_has_a_glyph)
{
  for (int code : glyphcells())  // the least ink is the middle dot's, 2 by 3
    EXPECT_GE(inkin(cellleft(code), celltop(code), fontcell, fontcell), 6) << code;
  for (int space : {0x20, 0xA0})
    EXPECT_EQ(inkin(cellleft(space), celltop(space), fontcell, fontcell), 0) << space;
}

// every inked texel of a glyph lies in a 2x2 square of ink: no stroke is one texel thin
TEST_F(shippedfont, glyph_strokes_are_at_least_two_texels_wide)
{
  for (int code : glyphcells())
    for (int y = celltop(code); y < celltop(code) + fontcell; ++y)
      for (int x = cellleft(code); x < cellleft(code) + fontcell; ++x) {
        if (!ink(x, y))
          continue;
        bool square = false;
        for (int dy = -1; dy <= 0; ++dy)
          for (int dx = -1; dx <= 0; ++dx)
            square = square || (ink(x + dx, y + dy) && ink(x + dx + 1, y + dy) &&
                                ink(x + dx, y + dy + 1) && ink(x + dx + 1, y + dy + 1));
        EXPECT_TRUE(square) << "code " << code << " at " << x - cellleft(code) << ","
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

// the theme's icon of side pixels as stb_image decodes it
image themeicon(int side)
{
  return stbdecode(readdata(iconfile(side).c_str()));
}

// the colour of the pixel that covers the point (x, y) of the icon's 32x32 drawing, as "#rrggbb"
std::string colourat(const image &icon, float x, float y)
{
  const size_t at = (size_t(y * icon.height / 32) * icon.width + size_t(x * icon.width / 32)) * 4;
  char text[8];
  snprintf(text, sizeof text, "#%02x%02x%02x", icon.rgba[at], icon.rgba[at + 1], icon.rgba[at + 2]);
  return text;
}

// true when the tags of the XML text nest, each closed in order, with every attribute quoted
bool wellformed(const std::string &xml)
{
  std::vector<std::string> open;
  bool root = false;
  for (size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at)) {
    const size_t end = xml.find('>', at);
    if (end == std::string::npos)
      return false;
    std::string tag = xml.substr(at + 1, end - at - 1);
    at = end + 1;
    if (tag.empty() || std::count(tag.begin(), tag.end(), '"') % 2 != 0)
      return false;
    if (tag[0] == '?')
      continue;
    if (tag[0] == '/') {
      if (open.empty() || open.back() != tag.substr(1))
        return false;
      open.pop_back();
      continue;
    }
    if (open.empty() && root)
      return false;  // a second root
    root = true;
    if (tag.back() != '/')
      open.push_back(tag.substr(0, tag.find(' ')));
  }
  return root && open.empty();
}

// at every size: a PNG that libpng reads as stb_image does (libpng checks every chunk's CRC and
// the deflate stream's Adler-32, which stb_image skips), the ground in the corner, the white "T"
// and the blue screen beside its stem
TEST(artwork_icon, every_theme_size_shows_the_monitor)
{
  const scratchfolder scratch;
  const std::string ground = colourat(themeicon(256), 0.5f, 0.5f);
  for (int side : iconsizes) {
    const image icon = themeicon(side);
    ASSERT_EQ(icon.width, side);
    ASSERT_EQ(icon.height, side);
    EXPECT_TRUE(convertimage(std::string(TAVREL_DATA_DIR) + "/" + iconfile(side) +
                             " -depth 8 rgba:" + scratch.file("icon.rgba")));
    EXPECT_TRUE(readbytes(scratch.file("icon.rgba")) == icon.rgba) << side;
    EXPECT_EQ(colourat(icon, 0, 0), ground) << side;
    EXPECT_EQ(colourat(icon, 16, 10), "#ffffff") << side;
    const size_t screen = (size_t(15 * side / 32) * side + 6 * side / 32) * 4;
    EXPECT_GT(icon.rgba[screen + 2], std::max(icon.rgba[screen], icon.rgba[screen + 1]) + 60)
        << side;
  }
}

TEST(artwork_icon, the_32_pixel_png_is_the_window_icon)
{
  EXPECT_TRUE(samepicture(stbdecode(readdata("tvr.bmp")), themeicon(32)));
}

TEST(artwork_icon, the_svg_is_well_formed_and_names_the_pngs_colours)
{
  const std::vector<unsigned char> bytes = readdata(iconfile(0).c_str());
  const std::string svg(bytes.begin(), bytes.end());
  EXPECT_TRUE(wellformed(svg));
  EXPECT_FALSE(wellformed("<svg><rect></svg>"));
  EXPECT_FALSE(wellformed("<svg x=\"1></svg>"));
  // the ground, the bezel, the "T", the lamp and the stand, where the large PNG has flat colour
  const image icon = themeicon(256);
  for (auto [x, y] : {std::pair{0.5f, 0.5f}, {3.5f, 22.5f}, {16.5f, 10.5f}, {26.5f, 21.5f},
                      {16.5f, 24.5f}})
    EXPECT_NE(svg.find("fill=\"" + colourat(icon, x, y) + "\""), std::string::npos)
        << colourat(icon, x, y) << " at " << x << "," << y;
}

}  // namespace
