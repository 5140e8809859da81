// Menu drawing: each item is its caption, brighter with its state and with the hotkey's letter
// marked; a text input adds a dark field showing its value, or the text being edited with its
// selection and cursor. Everything is cut from the font, whose code 127 is a solid cell.
#include "menu/menu.h"

#include "draw/draw.h"

#include <algorithm>

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

static void drawcell(int character, int x, int y, int size, colour c, float alpha)
{
  drawtext("/c", x, y, size, c.red, c.green, c.blue, alpha, character);
}

// the text as it stands: passed through "/s", a slash in it is never taken as an escape
static void drawliteral(const char *text, int x, int y, int size, colour c)
{
  drawtext("/s", x, y, size, c.red, c.green, c.blue, 1.0f, text);
}

static char uppercase(char c)
{
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// the first character that matches a one-character hotkey label is drawn in the full colour
static void drawcaption(const menuitemrecord &item)
{
  const char *label = keyboardlabel[item.hotkey];
  bool marking = item.state != itemdisabled && label[0] && !label[1];
  const int length = std::min(int(item.length), menutextsize);
  for (int k = 0; k < length && item.text[k]; ++k) {
    colour c = textcolour(item);
    if (marking && uppercase(item.text[k]) == label[0]) {
      c = {item.red, item.green, item.blue};
      marking = false;
    }
    drawcell((unsigned char)item.text[k], item.x + k * item.size, item.y, item.size, c, 1.0f);
  }
}

static void drawselection(const menuitemrecord &item, int x, int y)
{
  const int from = std::min(menuinputselectpos, menuinputcursorpos);
  const int to = std::max(menuinputselectpos, menuinputcursorpos);
  for (int k = std::max(from, 0); k < std::min(to, int(item.length)); ++k)
    drawcell(solidcell, x + k * item.size, y, item.size, textcolour(item), 0.5f);
}

static void drawcursor(const menuitemrecord &item, int x, int y)
{
  const colour c = textcolour(item);
  const int cursorx = x + menuinputcursorpos * item.size;
  if (!menuinputinsert)
    drawtext("_", cursorx, y, item.size, c.red, c.green, c.blue, 1.0f);
  else
    drawcell(solidcell, cursorx, y, item.size, c, 0.5f);
}

// the field row: after the caption for one-line items, under it for the usual two-line ones
static void drawfield(const menuitemrecord &item)
{
  const bool besidecaption = item.lines == 1;
  const int x = item.x + (besidecaption ? item.length * item.size : 0);
  const int y = item.y + (besidecaption ? 0 : item.size);
  for (int k = 0; k < item.length; ++k)
    drawcell(solidcell, x + k * item.size, y, item.size, backgroundcolour(item), 1.0f);
  if (!item.active) {
    formatmenuvalue(item, menuinputtemp);
    drawliteral(menuinputtemp, x, y, item.size, textcolour(item));
    return;
  }
  drawliteral(menuinput, x, y, item.size, textcolour(item));
  drawselection(item, x, y);
  drawcursor(item, x, y);
}

void drawmenuitems()
{
  for (int i = 0; i < menuitemsinuse(); ++i) {
    drawcaption(menuitem[i]);
    if (menuitem[i].type == itemtextinput)
      drawfield(menuitem[i]);
  }
}
