// Menu drawing: each item is its caption, brighter with its state and with the hotkey's letter
// marked; a text input adds a dark field showing its value, or the text being edited with its
// selection and cursor. Text is cut from the font, whose code 127 is a solid cell; the state marks
// and the focus are drawn as shapes.
#include "menu/menu.h"
#include "menu/menuparts.h"

#include "draw/draw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

constexpr int solidcell = 127;

struct colour {
  float red, green, blue;
};

// the item's colour at numerator / denominator, in single precision
static colour shade(const menuitemrecord &item, int numerator, float denominator)
{
  const float n = float(numerator);
  return {n * item.red / denominator, n * item.green / denominator, n * item.blue / denominator};
}

// text, selection and cursor: 5/8 disabled up to 8/8 on or active
static colour textcolour(const menuitemrecord &item)
{
  return shade(item, item.state + 5, 8.0f);
}

static colour backgroundcolour(const menuitemrecord &item)
{
  return shade(item, item.state + 1, 32.0f);
}

// drawtext reads bits 16 and 17 as placement flags: a cell whose corner lies outside the 16-bit
// coordinates, off the screen in any case, is left out rather than moved back onto it
static bool onplane(int64_t x, int64_t y)
{
  return x >= 0 && x <= 0xFFFF && y >= 0 && y <= 0xFFFF;
}

// the left edge of cell k of a row starting at x, in 64 bits as the hit test sums it
static int64_t cellx(int64_t x, int k, int size)
{
  return x + int64_t(k) * size;
}

static void drawcell(int character, int64_t x, int64_t y, int size, colour c, float alpha)
{
  if (onplane(x, y))
    drawtext("/c", int(x), int(y), size, c.red, c.green, c.blue, alpha, character);
}

// the text as it stands: passed through "/s", a slash in it is never taken as an escape
static void drawliteral(const char *text, int64_t x, int64_t y, int size, colour c)
{
  if (onplane(x, y))
    drawtext("/s", int(x), int(y), size, c.red, c.green, c.blue, 1.0f, text);
}

static char uppercase(char c)
{
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// the table is public: a hotkey outside the key codes has no label
static const char *hotkeylabel(const menuitemrecord &item)
{
  return (item.hotkey >= 0 && item.hotkey < keycount) ? keyboardlabel[item.hotkey] : "";
}

// a character a cell; the first that matches a one-character hotkey label is drawn in the full
// colour
static void drawcaption(const menuitemrecord &item)
{
  const char *label = hotkeylabel(item);
  bool marking = item.state != itemdisabled && label[0] && !label[1];
  const char *at = item.text;
  size_t room = strnlen(item.text, menutextsize);
  for (int k = 0; k < item.length && room > 0; ++k) {
    int bytes = 0;
    const int character = decodeutf8(at, room, &bytes);
    colour c = textcolour(item);
    if (marking && character < 128 && uppercase(char(character)) == label[0]) {
      c = {item.red, item.green, item.blue};
      marking = false;
    }
    char one[5] = {};
    memcpy(one, at, size_t(bytes));
    drawliteral(one, cellx(item.x, k, item.size), item.y, item.size, c);
    at += bytes;
    room -= size_t(bytes);
  }
}

static void drawselection(const menuitemrecord &item, int64_t x, int64_t y)
{
  const int from = menuinputcell(std::min(menuinputselectpos, menuinputcursorpos));
  const int to = menuinputcell(std::max(menuinputselectpos, menuinputcursorpos));
  for (int k = std::max(from, 0); k < std::min(to, int(item.fieldwidth)); ++k)
    drawcell(solidcell, cellx(x, k, item.size), y, item.size, textcolour(item), 0.5f);
}

static void drawcursor(const menuitemrecord &item, int64_t x, int64_t y)
{
  const colour c = textcolour(item);
  const int64_t cursorx = cellx(x, menuinputcell(menuinputcursorpos), item.size);
  if (!menuinputinsert)
    drawliteral("_", cursorx, y, item.size, c);
  else
    drawcell(solidcell, cursorx, y, item.size, c, 0.5f);
}

// the field row: after the caption for one-line items, under it for the usual two-line ones
static void drawfield(const menuitemrecord &item)
{
  const bool besidecaption = item.lines == 1;
  const int64_t x = besidecaption ? cellx(item.x, item.length, item.size) : item.x;
  const int64_t y = int64_t(item.y) + (besidecaption ? 0 : item.size);
  for (int k = 0; k < item.fieldwidth; ++k)
    drawcell(solidcell, cellx(x, k, item.size), y, item.size, backgroundcolour(item), 1.0f);
  if (!item.active) {
    formatmenuvalue(item, menuinputtemp);
    drawliteral(menuinputtemp, x, y, item.size, textcolour(item));
    return;
  }
  drawliteral(menuinput, x, y, item.size, textcolour(item));
  drawselection(item, x, y);
  drawcursor(item, x, y);
}

// lines a sixteenth of the cell wide, a pixel at least
static float linewidth(const menuitemrecord &item)
{
  return std::max(1.0f, float(item.size) / 16);
}

// a toggle's box, filled while it is on, in the first of the cells before the caption
static void drawbox(const menuitemrecord &item, float left, float top, float side, colour c)
{
  const float line = linewidth(item), inset = 2 * line;
  drawrectangleoutline(left, top, side, side, line, c.red, c.green, c.blue, 1);
  if (variableshowson(item))
    drawrectangle(left + inset, top + inset, side - 2 * inset, side - 2 * inset, c.red, c.green,
                  c.blue, 1);
}

// a radio item's diamond, filled while its variable holds the item's value: a square line along
// a diagonal is a diamond
static void drawdiamond(const menuitemrecord &item, float left, float top, float side, colour c)
{
  const float line = linewidth(item), half = side / 2, x = left + half, y = top + half;
  const float corners[5][2] = {{x, top}, {left + side, y}, {x, top + side}, {left, y}, {x, top}};
  for (int k = 0; k < 4; ++k)
    drawline(corners[k][0], corners[k][1], corners[k + 1][0], corners[k + 1][1], line, c.red,
             c.green, c.blue, 1);
  const float quarter = (half - 2 * line) / 2;
  if (variableshowson(item) && quarter > 0)
    drawline(x - quarter, y - quarter, x + quarter, y + quarter, 2 * std::sqrt(2.0f) * quarter,
             c.red, c.green, c.blue, 1);
}

static void drawmark(const menuitemrecord &item)
{
  const float size = float(item.size), side = size * 5 / 8;
  const float left = float(item.x) - markcells * size + (size - side) / 2;
  const float top = float(item.y) + (size - side) / 2;
  if (item.type == itemtoggle)
    drawbox(item, left, top, side, textcolour(item));
  else
    drawdiamond(item, left, top, side, textcolour(item));
}

// an outline just outside the focused item's box, in its full colour
static void drawfocus()
{
  if (!menunavigation || !menufocusshown || !focusinuse())
    return;
  const menuitemrecord &item = menuitem[menufocus];
  const itembox box = menuitembox(item);
  const float line = linewidth(item);
  drawrectangleoutline(float(box.left) - 2 * line, float(box.top) - 2 * line,
                       float(box.right - box.left) + 4 * line,
                       float(box.bottom - box.top) + 4 * line, line, item.red, item.green,
                       item.blue, 1);
}

void drawmenuitems()
{
  for (int i = 0; i < menuitemsinuse(); ++i) {
    if (showsmark(menuitem[i]))
      drawmark(menuitem[i]);
    drawcaption(menuitem[i]);
    if (menuitem[i].type == itemtextinput)
      drawfield(menuitem[i]);
  }
  drawfocus();
}
