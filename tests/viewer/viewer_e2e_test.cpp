// Tavrel Viewer as a texture artist uses it: a game folder of ImageMagick files, a filter typed,
// files chosen by key and by click, a refused file and a focus change; each screenshot the viewer
// takes is read back by an independent decoder, its caption glyph by glyph against the font.
#include "imagefiles.h"
#include "setuprun.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

struct rgb {
  int r, g, b;
  bool operator==(const rgb &o) const { return r == o.r && g == o.g && b == o.b; }
};

std::ostream &operator<<(std::ostream &out, const rgb &c)
{
  return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

const rgb red{255, 0, 0}, lime{0, 255, 0}, blue{0, 0, 255}, yellow{255, 255, 0},
    rust{200, 100, 50}, black{0, 0, 0};

rgb pixelat(const image &shot, int x, int y)
{
  const unsigned char *p = &shot.rgba[(size_t(y) * shot.width + x) * 4];
  return {p[0], p[1], p[2]};
}

// the flat view puts the picture's centre at the centre of its 372x232 rectangle at (264, 28)
constexpr int flatcentrex = 264 + 186, flatcentrey = 28 + 116;

// the four 32x16 quarters of a 64x32 picture: red and lime on top, blue and yellow below
void expectquarters(const image &shot)
{
  EXPECT_EQ(pixelat(shot, flatcentrex - 16, flatcentrey - 8), red);
  EXPECT_EQ(pixelat(shot, flatcentrex + 16, flatcentrey - 8), lime);
  EXPECT_EQ(pixelat(shot, flatcentrex - 16, flatcentrey + 8), blue);
  EXPECT_EQ(pixelat(shot, flatcentrex + 16, flatcentrey + 8), yellow);
}

bool litcell(const image &picture, int x, int y, int dx, int dy, int limit)
{
  const unsigned char *p = &picture.rgba[(size_t(y + dy) * picture.width + x + dx) * 4];
  return p[0] + p[1] + p[2] > limit;
}

// the characters of count 16x16 cells from (x, y): each cell is taken for the printable glyph
// of the font whose lit texels it matches best; trailing blanks are dropped
std::string readtext(const image &shot, int x, int y, int count)
{
  static const image font = stbdecode(readbytes(std::string(TAVREL_DATA_DIR) + "/font.bmp"));
  std::string text;
  for (int cell = 0; cell < count; ++cell) {
    int best = ' ', fewest = 1 << 30;
    for (int code = ' '; code < 127; ++code) {
      int differences = 0;
      for (int dy = 0; dy < 16; ++dy)
        for (int dx = 0; dx < 16; ++dx)
          differences += litcell(shot, x + 16 * cell, y, dx, dy, 3 * 127) !=
                         litcell(font, 16 * (code & 15), 16 * (code >> 4), dx, dy, 127);
      if (differences < fewest) {
        fewest = differences;
        best = code;
      }
    }
    text += char(best);
  }
  return text.erase(text.find_last_not_of(' ') + 1);
}

// a game folder: a BMP, a PNG and two TGAs of known colours, a BMP the loaders refuse and a text
// file
std::string makegamefolder()
{
  const std::string dir = makeworkdir(), folder = dir + "/texture/";
  mkdir(folder.c_str(), 0755);
  const std::string quarters =
      "-size 32x16 xc:red xc:lime +append \\( -size 32x16 xc:blue xc:yellow +append \\) -append ";
  EXPECT_TRUE(convertimage(quarters + "BMP3:" + folder + "quarters.bmp"));
  EXPECT_TRUE(convertimage(quarters + folder + "quarters.png"));
  EXPECT_TRUE(convertimage(quarters + "-alpha off -type TrueColor -orient TopLeft " + folder +
                           "plain24.tga"));
  EXPECT_TRUE(convertimage("-size 48x48 xc:'rgb(200,100,50)' -alpha set -type TrueColorAlpha "
                           "-compress RLE " + folder + "solid32.tga"));
  EXPECT_TRUE(convertimage("-size 8x8 xc:red -alpha set -type TrueColorAlpha BMP:" + folder +
                           "broken.bmp"));
  writetext(folder + "notes.txt", "not a picture");
  return dir;
}

class viewer : public ::testing::Test {
protected:
  std::string dir = makegamefolder();
  setuprun run{dir, {}, true, TAVREL_VIEWER_BINARY};
  int screenshots = 0;

  void SetUp() override { ASSERT_TRUE(run.waitforwindow(10000, "Tavrel Viewer")) << run.errors(); }
  void TearDown() override
  {
    run.press("Escape");
    EXPECT_EQ(run.waitforexit(), 0) << run.errors();
  }
  // keys, each held long enough for a frame to see it
  void keys(std::initializer_list<const char *> names)
  {
    for (const char *name : names)
      run.press(name);
  }
  // the viewer's next screenshot, with the pointer parked over the empty list
  image shot()
  {
    run.pointto(200, 420);
    run.press("p");
    char name[32];
    snprintf(name, sizeof name, "/scsht%03d.bmp", screenshots++);
    image picture;
    for (int waited = 0; waited < 5000 && picture.width == 0; waited += 50) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      picture = stbdecode(readbytes(dir + name));
    }
    EXPECT_EQ(picture.width, 640) << name << " " << run.errors();
    return picture;
  }
};

TEST_F(viewer, a_filter_a_key_and_a_click_choose_what_is_shown)
{
  keys({"f"});
  xdotool({"type", "TGA"});  // any case: plain24.tga and solid32.tga are left
  keys({"Return"});          // ends the filter and loads the first file left
  image first = shot();
  EXPECT_EQ(readtext(first, 4, 436, 24), "loaded plain24.tga");
  expectquarters(first);

  run.clickat(12, 64 + 10 + 4);  // the second row
  image second = shot();
  EXPECT_EQ(readtext(second, 4, 436, 24), "loaded solid32.tga");
  EXPECT_EQ(pixelat(second, flatcentrex, flatcentrey), rust);
  // the turning floor: the picture just below the eye, nothing above the horizon
  EXPECT_EQ(pixelat(second, flatcentrex, 268 + 150), rust);
  EXPECT_EQ(pixelat(second, flatcentrex, 268 + 4), black);
}

// the list: broken.bmp, plain24.tga, quarters.bmp, quarters.png, solid32.tga
TEST_F(viewer, a_refused_file_says_so_and_leaves_the_picture_before)
{
  keys({"Down", "Down", "Return"});
  expectquarters(shot());
  keys({"Home", "Return"});
  image refused = shot();
  EXPECT_EQ(readtext(refused, 4, 436, 24), "cannot load broken.bmp");
  expectquarters(refused);

  keys({"d"});  // the picture shown moves to slot 16, where a BMP gets half alpha
  image dimmed = shot();
  EXPECT_EQ(readtext(dimmed, 4, 436, 24), "loaded quarters.bmp");
  const rgb halfred = pixelat(dimmed, flatcentrex - 16, flatcentrey - 8);
  EXPECT_TRUE(halfred.r > 150 && halfred.r < 255 && halfred.g > 0 && halfred.g == halfred.b)
      << halfred;
}

TEST_F(viewer, images_in_a_folder_crowded_with_other_files_are_all_listed)
{
  for (int file = 0; file < 1024; ++file)
    writetext(dir + "/texture/junk" + std::to_string(1000 + file) + ".txt", "");
  keys({"l", "l", "End", "Return"});  // the list read again; solid32.tga sorts last
  EXPECT_EQ(readtext(shot(), 4, 436, 24), "loaded solid32.tga");
  keys({"Up", "Return"});
  image png = shot();
  EXPECT_EQ(readtext(png, 4, 436, 24), "loaded quarters.png");
  expectquarters(png);
}

// without the focus the pointer is parked at the centre, which shows that the loss was seen
bool pointeratcentre(const std::vector<unsigned char> &frame)
{
  for (int y = 240; y < 256; ++y)
    for (int x = 320; x < 336; ++x)
      if (frame[(size_t(y) * 640 + x) * 3] == 255 && frame[(size_t(y) * 640 + x) * 3 + 2] == 255)
        return true;
  return false;
}

// a player's proof that a focus change loses nothing; on these runtimes the GL context outlives
// it, so the engine's restore itself is proven by events_gl_test
TEST_F(viewer, the_picture_is_back_after_the_window_loses_and_regains_the_focus)
{
  keys({"Down", "Down", "Return"});
  run.pointto(200, 300);
  run.takefocus();  // a server without a window manager starts with the focus on its root
  ASSERT_FALSE(pointeratcentre(run.capture()));
  run.losefocus();
  EXPECT_TRUE(pointeratcentre(run.capture()));
  run.takefocus();
  expectquarters(shot());
}

}  // namespace
