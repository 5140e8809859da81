// Text and pointer in a real GL window: the state setuptextdisplay leaves, the cells drawtext
// covers in the back buffer, the pointer's square, and the font slot as GL holds it.
#include "engine.h"
#include "fontfixture.h"
#include "glwindow.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

#ifndef TAVREL_DATA_DIR
#error "TAVREL_DATA_DIR must name the artwork directory"
#endif

namespace {

using frame = std::vector<uint8_t>;

uint8_t red(const frame &f, int x, int y) { return f[(size_t(y) * 640 + x) * 4]; }

// the box of virtual pixels x0 <= x < x1, y0 <= y < y1
struct box {
  int x0, y0, x1, y1;
  bool holds(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// the smallest box around every pixel brighter than threshold; empty when there is none
box litbox(const frame &f, int threshold = 0)
{
  box b = {640, 480, 0, 0};
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      if (red(f, x, y) > threshold)
        b = {std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x + 1), std::max(b.y1, y + 1)};
  return b;
}

// every pixel inside the box is full white and every pixel outside it black
void expectexactly(const frame &f, box b)
{
  int wronginside = 0, wrongoutside = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const uint8_t *p = &f[(size_t(y) * 640 + x) * 4];
      if (b.holds(x, y))
        wronginside += p[0] != 255 || p[1] != 255 || p[2] != 255;
      else
        wrongoutside += p[0] != 0 || p[1] != 0 || p[2] != 0;
    }
  EXPECT_EQ(wronginside, 0);
  EXPECT_EQ(wrongoutside, 0);
}

std::vector<float> matrix(GLenum which)
{
  std::vector<float> m(16);
  glGetFloatv(which, m.data());
  return m;
}

class textgltest : public scratchdirtest {
protected:
  void SetUp() override
  {
    scratchdirtest::SetUp();
    windowinfo = {640, 480, 16, 0, 0, 1, 1};
    mouse = {};
    clearframe();
  }
  void TearDown() override
  {
    settexture(fontslot, 0, 0, 0, nullptr);
    scratchdirtest::TearDown();
  }
  // a font whose every texel is opaque: each quad shows as its whole square
  void loadsolidfont()
  {
    fontfile file;
    file.red = [](int, int) { return uint8_t(255); };
    writefont(file.bytes());
    loadfont();
  }
  void loadshippedfont()
  {
    std::ifstream in(std::string(TAVREL_DATA_DIR) + "/font.bmp", std::ios::binary);
    writefont({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    loadfont();
  }
};

TEST_F(textgltest, setuptextdisplay_leaves_blending_and_the_virtual_screen_projection)
{
  // state that a 3-D view might have left behind
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ZERO);
  glEnable(GL_DEPTH_TEST);
  glViewport(10, 20, 30, 40);
  for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW, GL_TEXTURE}) {
    glMatrixMode(mode);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
  }
  glMatrixMode(GL_MODELVIEW);

  setuptextdisplay();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  GLint value[4];
  glGetIntegerv(GL_BLEND_SRC, value);
  EXPECT_EQ(value[0], GL_SRC_ALPHA);
  glGetIntegerv(GL_BLEND_DST, value);
  EXPECT_EQ(value[0], GL_ONE_MINUS_SRC_ALPHA);
  glGetIntegerv(GL_VIEWPORT, value);
  EXPECT_EQ(std::vector<GLint>(value, value + 4), (std::vector<GLint>{0, 0, 640, 480}));
  glGetIntegerv(GL_MATRIX_MODE, value);
  EXPECT_EQ(value[0], GL_TEXTURE);

  // glFrustum(-1, 1, -0.75, 0.75, 1, 1000), column by column
  const std::vector<float> frustum = {1, 0, 0, 0, 0, 1 / 0.75f, 0, 0, 0, 0, -1001.0f / 999, -1,
                                      0, 0, -2000.0f / 999, 0};
  const std::vector<float> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const std::vector<float> projection = matrix(GL_PROJECTION_MATRIX);
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(projection[i], frustum[i], 1e-6) << i;
  EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), identity);
  EXPECT_EQ(matrix(GL_TEXTURE_MATRIX), identity);
}

TEST_F(textgltest, setuptextdisplay_takes_the_viewport_from_the_window_size)
{
  windowinfo.width = 320;
  windowinfo.height = 200;
  setuptextdisplay();
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 320);
  EXPECT_EQ(viewport[3], 200);
  windowinfo = {640, 480, 16, 0, 0, 1, 1};
  setuptextdisplay();
}

TEST_F(textgltest, the_heading_covers_exactly_its_ten_cells)
{
  loadsolidfont();
  setuptextdisplay();
  drawtext("Resolution", 0, 96, 16, 1, 1, 1, 1);
  expectexactly(readframe(), {0, 96, 160, 112});
}

TEST_F(textgltest, the_heading_in_the_shipped_font_stays_inside_its_cells)
{
  loadshippedfont();
  setuptextdisplay();
  drawtext("Resolution", 0, 96, 16, 1, 1, 1, 1);
  const frame f = readframe();
  const box lit = litbox(f);
  EXPECT_GE(lit.x0, 0);
  EXPECT_GE(lit.y0, 96);
  EXPECT_LE(lit.x1, 160);
  EXPECT_LE(lit.y1, 112);
  // each cell shows its glyph: a good share of bright pixels, and a gap to the next cell
  for (int k = 0; k < 10; ++k) {
    int bright = 0;
    for (int y = 96; y < 112; ++y)
      for (int x = 16 * k; x < 16 * k + 16; ++x)
        bright += red(f, x, y) > 160;
    EXPECT_GE(bright, 24) << "cell " << k;
    for (int y = 96; y < 112; ++y)
      EXPECT_EQ(red(f, 16 * k, y), 0) << "cell " << k;
  }
}

TEST_F(textgltest, glyphs_show_the_font_cell_of_their_code)
{
  // a font in which only the cell of "R" is inked, and only its left half
  fontfile file;
  file.red = [](int x, int y) { return uint8_t(y >= 80 && y < 96 && x >= 32 && x < 40 ? 255 : 0); };
  writefont(file.bytes());
  loadfont();
  setuptextdisplay();
  drawtext("QRS", 0, 0, 32, 1, 1, 1, 1);
  const frame f = readframe();
  const box lit = litbox(f, 128);
  EXPECT_EQ(lit.x0, 32);
  EXPECT_EQ(lit.x1, 48);
  EXPECT_EQ(lit.y0, 0);
  EXPECT_EQ(lit.y1, 32);
}

// a 256x256 font whose only ink is in the cells of "é" (233) and of the replacement glyph (128):
// "e" shows nothing, an invalid byte and a character past Latin-1 one replacement glyph each
TEST_F(textgltest, latin1_and_the_replacement_glyph_show_the_lower_half_cells)
{
  fontfile file;
  file.height = 256;
  file.red = [](int x, int y) {
    const int cell = (y / 16) * 16 + x / 16;
    return uint8_t(cell == 233 || cell == replacementcell ? 255 : 0);
  };
  writefont(file.bytes());
  loadfont();
  setuptextdisplay();
  drawtext("e\xc3\xa9\xff\xe2\x82\xac", 0, 0, 32, 1, 1, 1, 1);
  const frame f = readframe();
  EXPECT_EQ(litbox(f, 128).x0, 32);
  EXPECT_EQ(litbox(f, 128).x1, 128);
  for (int x : {48, 80, 112})
    EXPECT_EQ(red(f, x, 16), 255) << x;
}

TEST_F(textgltest, magnified_glyphs_take_nothing_from_the_neighbouring_cells)
{
  // only the cell of "R" is inked; its neighbours left, right, above and below are drawn large,
  // where linear filtering would blend in the edge of "R" without the half-texel inset
  fontfile file;
  file.red = [](int x, int y) { return uint8_t(y >= 80 && y < 96 && x >= 32 && x < 48 ? 255 : 0); };
  writefont(file.bytes());
  loadfont();
  setuptextdisplay();
  drawtext("QSBb", 0, 0, 96, 1, 1, 1, 1);
  EXPECT_EQ(litbox(readframe()).x1, 0);
}

TEST_F(textgltest, the_formatted_text_is_placed_by_its_own_length)
{
  loadsolidfont();
  setuptextdisplay();
  drawtext("/I", alignend + 640, alignend + 480, 16, 1, 1, 1, 1, 12345);  // "12,345"
  expectexactly(readframe(), {640 - 6 * 16, 464, 640, 480});
}

// a 256x128 font has no lower half: Latin-1 and the replacement glyph take their cell and draw
// nothing, as codes 128 to 255 always did
TEST_F(textgltest, codes_above_127_take_their_cell_and_draw_nothing)
{
  loadsolidfont();
  setuptextdisplay();
  drawtext("A\xc8/c\xc3\xa9" "B", 0, 0, 16, 1, 1, 1, 1, 255);
  const frame f = readframe();
  EXPECT_EQ(red(f, 8, 8), 255);
  for (int x = 16; x < 64; ++x)
    EXPECT_EQ(red(f, x, 8), 0) << x;
  EXPECT_EQ(litbox(f).x1, 80);  // "B" in the fifth cell
}

TEST_F(textgltest, the_colour_and_alpha_tint_the_glyphs)
{
  loadsolidfont();
  setuptextdisplay();
  drawtext("/c", 0, 0, 16, 1.0f, 0.5f, 0.0f, 0.5f, 127);
  const frame f = readframe();
  const uint8_t *p = &f[(size_t(8) * 640 + 8) * 4];
  EXPECT_NEAR(p[0], 128, 2);  // red at half alpha over black
  EXPECT_NEAR(p[1], 64, 2);
  EXPECT_EQ(p[2], 0);
}

TEST_F(textgltest, drawing_binds_the_font_texture_itself)
{
  loadsolidfont();
  setuptextdisplay();
  glBindTexture(GL_TEXTURE_2D, texture[0].glname);
  drawtext("x", 0, 0, 16, 1, 1, 1, 1);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(GLuint(bound), texture[fontslot].glname);
  glBindTexture(GL_TEXTURE_2D, texture[0].glname);
  drawmousecursor(1, 1, 1, 1);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(GLuint(bound), texture[fontslot].glname);
}

TEST_F(textgltest, the_pointer_is_a_32_square_centred_on_the_mouse)
{
  loadsolidfont();
  setuptextdisplay();
  mouse.x = 100;
  mouse.y = 10;  // its top edge above the screen
  drawmousecursor(1, 1, 1, 1);
  expectexactly(readframe(), {84, 0, 116, 26});
}

TEST_F(textgltest, the_shipped_pointer_points_at_the_mouse_position)
{
  loadshippedfont();
  setuptextdisplay();
  mouse.x = 320;
  mouse.y = 240;
  drawmousecursor(1, 1, 1, 1);
  const frame f = readframe();
  const box lit = litbox(f, 32);
  EXPECT_EQ(lit.x0, 320);  // the tip, to the pixel
  EXPECT_EQ(lit.y0, 240);
  EXPECT_LE(lit.x1, 336);
  EXPECT_LE(lit.y1, 256);
  EXPECT_GT(red(f, 321, 242), 200);  // just below the tip the arrow is solid
}

TEST_F(textgltest, the_font_slot_is_uploaded_clamped_and_linear)
{
  fontfile file;
  writefont(file.bytes());
  loadfont();
  glBindTexture(GL_TEXTURE_2D, texture[fontslot].glname);
  GLint value = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
  EXPECT_EQ(value, 256);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &value);
  EXPECT_EQ(value, 256);
  for (GLenum name : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    EXPECT_EQ(value, GL_CLAMP);
  }
  for (GLenum name : {GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER}) {
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    EXPECT_EQ(value, GL_LINEAR);
  }
}

TEST_F(textgltest, without_a_font_file_the_uploaded_slot_is_transparent)
{
  loadfont();
  setuptextdisplay();
  drawtext("Resolution", 0, 96, 16, 1, 1, 1, 1);
  EXPECT_EQ(litbox(readframe()).x1, 0);
}

}  // namespace
