// The menu item table: items appended every frame with their options, blank slots, the reset
// of the activity flags, the hit box, and the key labels that mark hotkeys in captions.
#include "menu/menu.h"
#include "menu/menuparts.h"

#include "draw/draw.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

menuitemrecord menuitem[maxmenuitems];
int32_t numofmenuitems;
int32_t currentmenuitem;
char keyboardlabel[keycount][keylabelsize];
int32_t menustatemarks;

// the last creation found the table full, so the options that follow have no item to act on
static bool lastitemrefused;

// the slot for a new item, or null when all of them are taken this frame
static menuitemrecord *appenditem()
{
  lastitemrefused = numofmenuitems < 0 || numofmenuitems >= maxmenuitems;
  if (lastitemrefused)
    return nullptr;
  return &menuitem[numofmenuitems++];
}

// every field but the activity flags, which belong to the slot rather than the item
static void clearitem(menuitemrecord &item)
{
  const int32_t active = item.active, wasactive = item.wasactive, clicked = item.clicked;
  item = menuitemrecord{};
  item.active = active;
  item.wasactive = wasactive;
  item.clicked = clicked;
}

void createmenuitem(const char *text, int x, int y, int size, float red, float green, float blue)
{
  menuitemrecord *item = appenditem();
  if (!item)
    return;
  clearitem(*item);
  // longer captions are cut to 63 bytes, never inside a character; no caption is an empty one
  const char *caption = text ? text : "";
  const size_t bytes = wholecharacters(caption, strnlen(caption, menutextsize - 1));
  snprintf(item->text, menutextsize, "%.*s", int(bytes), caption);
  item->length = int32_t(countcharacters(item->text, bytes));  // a cell a character
  item->fieldwidth = item->length;
  // placed as drawtext places text: a position that went negative wraps off the screen
  item->x = aligncoordinate(x, item->length, size);
  item->y = aligncoordinate(y, 1, size);
  item->size = size;
  item->red = red;
  item->green = green;
  item->blue = blue;
  item->lines = 1;
  item->state = itemnormal;
}

int menuitemsinuse()
{
  return std::clamp(int(numofmenuitems), 0, maxmenuitems);
}

void createmenuitemempty()
{
  menuitemrecord *item = appenditem();
  if (item)
    clearitem(*item);
}

// a new screen: nothing carries over to the item of the same slot on it, nor the focus
void resetmenuitems()
{
  for (menuitemrecord &item : menuitem) {
    item.active = 0;
    item.wasactive = 0;
    item.clicked = 0;
  }
  menufocus = -1;
}

bool showsmark(const menuitemrecord &item)
{
  return menustatemarks && (item.type == itemtoggle || item.type == itemset);
}

// a one-line field sits after its caption, outside the box, as it always has
itembox menuitembox(const menuitemrecord &item)
{
  int64_t cells = item.length;
  if (item.type == itemtextinput && item.lines > 1)
    cells = std::max(cells, int64_t(item.fieldwidth));
  const int64_t size = item.size;
  return {item.x - (showsmark(item) ? markcells * size : 0), item.y, item.x + cells * size,
          item.y + int64_t(item.lines) * size};
}

bool variableshowson(const menuitemrecord &item)
{
  if (item.type == itemtoggle)
    return *static_cast<const int32_t *>(item.variable) != 0;
  if (item.type == itemset)
    return *static_cast<const int32_t *>(item.variable) == item.setvalue;
  return false;
}

bool focusable(const menuitemrecord &item)
{
  const itembox box = menuitembox(item);
  return item.state != itemdisabled && box.left < box.right && box.top < box.bottom;
}

// gives the item its variable, kind and callback; false (nothing changed) without a variable
static bool bindvariable(menuitemrecord &item, int type, intptr_t variable, void (*callback)())
{
  if (!variable)
    return false;
  item.type = type;
  item.variable = reinterpret_cast<void *>(variable);
  item.callback = callback;
  return true;
}

static void maketextinput(menuitemrecord &item, int inputtype, intptr_t variable)
{
  if (!bindvariable(item, itemtextinput, variable, menutextbox))
    return;
  item.inputtype = inputtype;
  item.lines = 2;  // caption row and field row
}

// the item the options act on; null when this frame has none, or its creation was refused
static menuitemrecord *lastitem()
{
  if (lastitemrefused || numofmenuitems <= 0 || numofmenuitems > maxmenuitems)
    return nullptr;
  return &menuitem[numofmenuitems - 1];
}

// options that name a variable are ignored without one: the item would read it every frame
void setmenuitem(int option, intptr_t a, int b)
{
  menuitemrecord *last = lastitem();
  if (!last)
    return;
  menuitemrecord &item = *last;
  switch (option) {
  case optionhotkey:  // a key the keyboard array cannot hold would never fire: no hotkey
    item.hotkey = (a >= 0 && a < keycount) ? int32_t(a) : key_none;
    break;
  case optionstate: item.state = int32_t(a); break;
  case optionintinput: maketextinput(item, inputint, a); break;
  case optionunsignedinput: maketextinput(item, inputunsigned, a); break;
  case optionfloatinput: maketextinput(item, inputfloat, a); break;
  case optionstringinput: maketextinput(item, inputstring, a); break;
  case optioncallback: item.callback = reinterpret_cast<void (*)()>(a); break;
  case optiontoggle: bindvariable(item, itemtoggle, a, menutoggle); break;
  case optionset:
    if (bindvariable(item, itemset, a, menuset))
      item.setvalue = b;
    break;
  case optionrepeat: item.repeat = 1; break;
  default: break;  // unknown options change nothing
  }
}

void setmenutoggle(int32_t *variable)
{
  setmenuitem(optiontoggle, intptr_t(variable));
}

void setmenuradio(int32_t *variable, int32_t value)
{
  setmenuitem(optionset, intptr_t(variable), value);
}

// a field writes back its text whole: up to its width less one characters, or the longer
// string it started with, and a terminator
void setmenutextfield(char *buffer, int size)
{
  const menuitemrecord *item = lastitem();
  if (!item || !buffer || size < item->fieldwidth || !memchr(buffer, '\0', size_t(size)))
    return;
  setmenuitem(optionstringinput, intptr_t(buffer));
  menuitem[menuitemsinuse() - 1].inputsize = size;
}

void setmenuclick(void (*click)())
{
  setmenuitem(optioncallback, intptr_t(click));
}

void setmenufieldwidth(int characters)
{
  menuitemrecord *item = lastitem();
  if (!item || characters < 0 || characters >= menuinputarea)
    return;
  const bool hasbuffer = item->type == itemtextinput && item->inputtype == inputstring;
  if (!hasbuffer || characters + 1 <= item->fieldwidth)
    item->fieldwidth = characters + 1;  // and a cell for the cursor after the last character
}

void setmenuback()
{
  if (menuitemrecord *item = lastitem())
    item->back = 1;
}

// the slot's flag from the last pass, as the same item built again in this frame finds it
int menuclicked()
{
  menuitemrecord *item = lastitem();
  if (!item || !item->clicked)
    return 0;
  item->clicked = 0;
  return 1;
}

// keys named by their keypad navigation role or by what they are; digits and letters are
// labelled by themselves in setupmenuitems
static const struct {
  int key;
  const char *label;
} namedkeys[] = {
    {key_return, "Enter"},    {key_space, "Space"},     {key_comma, "Comma"},
    {key_period, "Period"},   {key_kp0, "Ins"},         {key_kp0 + 1, "End"},
    {key_kp0 + 3, "PgDn"},    {key_kp0 + 5, "Center"},  {key_kp0 + 7, "Home"},
    {key_kp9, "PgUp"},        {key_kp_period, "Del"},   {key_kp_minus, "Minus"},
    {key_kp_plus, "Plus"},    {key_up, "Up"},           {key_down, "Down"},
    {key_right, "Right"},     {key_left, "Left"},       {key_lshift, "Shift"},
    {key_lctrl, "Ctrl"},      {key_lalt, "Alt"},
};

void setupmenuitems()
{
  for (int digit = 0; digit <= 9; ++digit)
    snprintf(keyboardlabel[key_0 + digit], keylabelsize, "%c", '0' + digit);
  for (int letter = 0; letter < 26; ++letter)
    snprintf(keyboardlabel[key_a + letter], keylabelsize, "%c", 'A' + letter);
  for (const auto &named : namedkeys)
    snprintf(keyboardlabel[named.key], keylabelsize, "%s", named.label);
}
