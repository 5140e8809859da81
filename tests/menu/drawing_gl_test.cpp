// Menu drawing read back from a real window: caption brightness by state, the hotkey mark, and
// a text field's background, value, selection and cursor. The font is a test image in which
// every glyph fills the top half of its cell, "_" its bottom quarter and code 127 all of it, so
// that each layer can be read at its own rows.
#include "../draw/fontfixture.h"
#include "glwindow.h"
#include "menuframes.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int cell = 16;
constexpr int toprow = 3;       // inside every glyph
constexpr int middlerow = 11;   // below the glyphs, above the underscore
constexpr int bottomrow = 14;   // inside the underscore
constexpr int tolerance = 2;    // frame buffer rounding

bool opaquetexel(int code, int row)
{
  if (code == 127)
    return true;
  if (code == '_')
    return row >= 12;
  return code != ' ' && row < 8;
}

std::vector<unsigned char> testfont()
{
  fontfile file;
  file.red = [](int x, int y) {
    return uint8_t(opaquetexel((y / cell) * 16 + x / cell, y % cell) ? 255 : 0);
  };
  return file.bytes();
}

class menudrawing : public menuframes {
protected:
  static void SetUpTestSuite()
  {
    scratchworkdir folder;  // loadfont reads "font.bmp" from the working directory
    writebytes("font.bmp", testfont());
    loadfont();
  }

  // the items as the last frame left them, drawn on a cleared screen
  void draw()
  {
    clearframe();
    setuptextdisplay();
    drawmenuitems();
  }
  void drawframe()
  {
    frame();
    draw();
  }
  // the red channel in character cell k of a row of cells starting at (x, y)
  int red(int x, int y, int k, int row) { return readpixel(x + k * cell + cell / 2, y + row).r; }
};

// 255 × numerator / denominator, as the frame buffer rounds it
int level(int numerator, int denominator)
{
  return int(255.0f * float(numerator) / float(denominator) + 0.5f);
}

int onflag = 1;

class menu_drawcaptions : public menudrawing {};

TEST_F(menu_drawcaptions, brightness_follows_the_state)
{
  build = [] {
    createmenuitem("Off", 0, 0, cell, 1, 1, 1);
    setmenuitem(optionstate, itemdisabled);
    createmenuitem("Normal", 0, 20, cell, 1, 1, 1);
    createmenuitem("Hovered", 0, 40, cell, 1, 1, 1);
    createmenuitem("On", 0, 60, cell, 1, 0.5f, 0.25f);
    setmenuitem(optiontoggle, (intptr_t)&onflag);
  };
  pointer(5, 45);
  drawframe();
  EXPECT_NEAR(red(0, 0, 1, toprow), level(5, 8), tolerance);
  EXPECT_NEAR(red(0, 20, 1, toprow), level(6, 8), tolerance);
  EXPECT_NEAR(red(0, 40, 1, toprow), level(7, 8), tolerance);
  const rgba on = readpixel(cell + cell / 2, 60 + toprow);
  EXPECT_NEAR(on.r, 255, tolerance);
  EXPECT_NEAR(on.g, level(1, 2), tolerance);
  EXPECT_NEAR(on.b, level(1, 4), tolerance);
  EXPECT_EQ(red(0, 0, 1, middlerow), 0);  // only the glyphs are drawn
}

TEST_F(menu_drawcaptions, the_first_letter_matching_a_one_character_label_is_marked)
{
  build = [] {
    createmenuitem("Radar", 0, 0, cell, 1, 1, 1);
    setmenuitem(optionhotkey, letterkey('r'));
    createmenuitem("1. 640x480", 0, 20, cell, 1, 1, 1);
    setmenuitem(optionhotkey, key_1);
    createmenuitem("Done", 0, 40, cell, 1, 1, 1);
    setmenuitem(optionhotkey, key_escape);
    createmenuitem("Left", 0, 60, cell, 1, 1, 1);
    setmenuitem(optionhotkey, key_left);
    createmenuitem("Radar", 0, 80, cell, 1, 1, 1);
    setmenuitem(optionhotkey, letterkey('r'));
    setmenuitem(optionstate, itemdisabled);
    createmenuitem("Radar", 0, 100, cell, 1, 1, 1);
    menuitem[5].hotkey = keycount;  // the table is public: written past setmenuitem's check
  };
  drawframe();
  const int normal = level(6, 8);
  EXPECT_NEAR(red(0, 0, 0, toprow), 255, tolerance);
  EXPECT_NEAR(red(0, 0, 4, toprow), normal, tolerance);  // the second r is not marked
  EXPECT_NEAR(red(0, 20, 0, toprow), 255, tolerance);
  EXPECT_NEAR(red(0, 20, 3, toprow), normal, tolerance);
  EXPECT_NEAR(red(0, 40, 0, toprow), normal, tolerance);  // Escape has no label
  EXPECT_NEAR(red(0, 60, 0, toprow), normal, tolerance);  // "Left" is more than one character
  EXPECT_NEAR(red(0, 80, 0, toprow), level(5, 8), tolerance);
  EXPECT_NEAR(red(0, 100, 0, toprow), normal, tolerance);
}

TEST_F(menu_drawcaptions, a_slash_is_drawn_as_itself)
{
  build = [] { createmenuitem("a/ib", 0, 0, cell, 1, 1, 1); };
  drawframe();
  for (int k = 0; k < 4; ++k)
    EXPECT_NEAR(red(0, 0, k, toprow), level(6, 8), tolerance) << k;
}

int number = 42;

TEST_F(menu_drawcaptions, cells_past_the_16_bit_coordinates_are_left_out)
{
  build = [] {
    createmenuitem("Done", aligncentre + 10, 0, cell, 1, 1, 1);  // x wraps to 65514
    createmenuitem("Deep", 100, aligncentre + 2, cell, 1, 1, 1);  // y wraps to 65530
    setmenuitem(optionintinput, (intptr_t)&number);
    createmenuitem("abc", 0, 1000, 1 << 30, 1, 1, 1);  // 2 << 30 is past 32 bits
  };
  drawframe();  // drawtext would take a cell at 65536 or more for a placement flag
  const std::vector<uint8_t> f = readframe();
  int lit = 0;
  for (size_t i = 0; i < f.size(); i += 4)
    lit += f[i] != 0;
  EXPECT_EQ(lit, 0);
}
int negative = -12;
float large = 123456789.0f;
char slashed[] = "a/s";

class menu_drawfields : public menudrawing {
protected:
  void SetUp() override
  {
    menudrawing::SetUp();
    build = [] {
      createmenuitem("Integer", 100, 0, cell, 1, 1, 1);
      setmenuitem(optionintinput, (intptr_t)&number);
      setmenuitem(optionhotkey, key_f1);
      createmenuitem("Int", 100, 40, cell, 1, 1, 1);
      setmenuitem(optionunsignedinput, (intptr_t)&negative);
      createmenuitem("Float", 100, 80, cell, 1, 1, 1);
      setmenuitem(optionfloatinput, (intptr_t)&large);
      createmenuitem("Text", 100, 120, cell, 1, 1, 1);
      setmenuitem(optionstringinput, (intptr_t)slashed);
      setmenuitem(optionhotkey, key_f1 + 1);
    };
  }
  // how many cells of a field row starting at (100, y) show a glyph
  int glyphcells(int y)
  {
    int count = 0;
    while (red(100, y, count, toprow) > level(6, 8) / 2)
      ++count;
    return count;
  }
};

TEST_F(menu_drawfields, the_background_is_as_wide_as_the_caption_under_the_value)
{
  drawframe();
  const int background = level(2, 32), text = level(6, 8);
  EXPECT_NEAR(red(100, cell, 0, toprow), text, tolerance);
  EXPECT_NEAR(red(100, cell, 1, toprow), text, tolerance);
  EXPECT_NEAR(red(100, cell, 2, toprow), background, tolerance);
  EXPECT_NEAR(red(100, cell, 6, middlerow), background, tolerance);
  EXPECT_EQ(red(100, cell, 7, middlerow), 0);
  // "4294967284" over a field three cells wide
  EXPECT_NEAR(red(100, 40 + cell, 2, middlerow), background, tolerance);
  EXPECT_EQ(red(100, 40 + cell, 3, middlerow), 0);
  EXPECT_NEAR(red(100, 40 + cell, 9, toprow), text, tolerance);
}

TEST_F(menu_drawfields, values_are_shown_in_their_own_format_and_literally)
{
  drawframe();
  EXPECT_EQ(glyphcells(cell), 2);             // 42
  EXPECT_EQ(glyphcells(40 + cell), 10);       // 4294967284
  EXPECT_EQ(glyphcells(80 + cell), 11);       // 1.23457e+08
  EXPECT_EQ(glyphcells(120 + cell), 3);       // a/s
}

TEST_F(menu_drawfields, an_active_field_shows_its_selection_and_the_insert_cursor)
{
  tap(key_f1 + 1);  // "a/s"
  menuinputselectpos = 1;
  menuinputcursorpos = 3;
  menuinputinsert = 0;
  draw();
  const int y = 120 + cell, background = level(4, 32);
  const int selected = int(0.5f * 255 + 0.5f * float(background));
  EXPECT_NEAR(red(100, y, 0, toprow), 255, tolerance);  // active: full brightness
  EXPECT_NEAR(red(100, y, 0, middlerow), background, tolerance);
  EXPECT_NEAR(red(100, y, 1, middlerow), selected, tolerance);
  EXPECT_NEAR(red(100, y, 2, middlerow), selected, tolerance);
  EXPECT_NEAR(red(100, y, 3, middlerow), background, tolerance);
  EXPECT_NEAR(red(100, y, 3, bottomrow), 255, tolerance);  // the underscore
  EXPECT_NEAR(red(100, y, 2, bottomrow), selected, tolerance);
}

TEST_F(menu_drawfields, an_active_field_shows_the_text_being_edited_not_its_variable)
{
  tap(key_f1 + 1);  // "a/s"
  snprintf(menuinput, sizeof menuinput, "abcd");
  menuinputselectpos = menuinputcursorpos = 0;
  draw();
  EXPECT_NEAR(red(100, 120 + cell, 3, toprow), 255, tolerance);
}

TEST_F(menu_drawfields, overwrite_shows_a_half_block_and_the_selection_stays_in_the_field)
{
  tap(key_f1 + 1);
  snprintf(menuinput, sizeof menuinput, "abcdefgh");
  menuinputselectpos = 2;
  menuinputcursorpos = 6;
  menuinputinsert = 1;
  draw();
  const int y = 120 + cell, background = level(4, 32);
  const int selected = int(0.5f * 255 + 0.5f * float(background));
  EXPECT_NEAR(red(100, y, 3, middlerow), selected, tolerance);
  EXPECT_EQ(red(100, y, 4, middlerow), 0);  // past the four-cell field
  EXPECT_NEAR(red(100, y, 6, middlerow), level(1, 2), tolerance);  // the cursor block alone
}

TEST_F(menu_drawfields, a_one_line_field_sits_after_its_caption)
{
  build = [] {
    createmenuitem("Integer", 100, 0, cell, 1, 1, 1);
    setmenuitem(optionintinput, (intptr_t)&number);
    menuitem[0].lines = 1;
  };
  drawframe();
  EXPECT_NEAR(red(100, 0, 7, toprow), level(6, 8), tolerance);  // "4" after the seven cells
  EXPECT_NEAR(red(100, 0, 13, middlerow), level(2, 32), tolerance);
  EXPECT_EQ(red(100, 0, 14, middlerow), 0);
  EXPECT_EQ(red(100, cell, 0, middlerow), 0);
}

}  // namespace
