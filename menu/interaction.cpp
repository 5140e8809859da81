// Menu interaction: turns the pointer, the left button and the hotkeys into each item's state
// and activity, runs the callbacks of active items, and the stock toggle and set callbacks; a
// text field's edit begun or ended from code.
#include "menu/menu.h"

#include <cstdint>

int32_t menuinputkeyboard;
int32_t prevmenuinputkeyboard;

static int startingfield = -1;  // the slot whose edit beginmenuinput asked for, until a hit test

static bool newleftpress()
{
  return mouse.left && !prevmouse.left;
}

// a new press anywhere ends latched activations; a repeat item's activity lasts one frame
static void releaseitems()
{
  const bool press = newleftpress();
  for (int i = 0; i < menuitemsinuse(); ++i)
    if (press || menuitem[i].repeat)
      menuitem[i].active = 0;
}

// 64-bit sums keep items far off the screen from overflowing
static bool pointerinside(const menuitemrecord &item)
{
  const int64_t right = int64_t(item.x) + int64_t(item.length) * item.size;
  const int64_t bottom = int64_t(item.y) + int64_t(item.lines) * item.size;
  return item.x <= mouse.x && mouse.x < right && item.y <= mouse.y && mouse.y < bottom;
}

// the hotkey goes down, or is held for repeat items; asleep while a text input has the keyboard
static bool hotkeyfires(const menuitemrecord &item)
{
  const int key = item.hotkey;  // the table is public: a code outside the key arrays is no key
  if (key < 0 || key >= keycount || menuinputkeyboard)
    return false;
  return item.repeat ? keyboard[key] != 0 : keypressed(key);
}

static bool showson(const menuitemrecord &item)
{
  if (item.active)
    return true;
  if (item.type == itemtoggle)
    return *static_cast<const int32_t *>(item.variable) != 0;
  if (item.type == itemset)
    return *static_cast<const int32_t *>(item.variable) == item.setvalue;
  return false;
}

// every enabled item under the pointer is hovered and every one of them is activated by a new
// press: there is no tie-break; states are settled before any callback runs
static void hittestitems()
{
  const bool press = newleftpress();
  for (int i = 0; i < menuitemsinuse(); ++i) {
    menuitemrecord &item = menuitem[i];
    if (item.state == itemdisabled)
      continue;
    item.state = itemnormal;
    if (pointerinside(item)) {
      item.state = itemhovered;
      if (press)
        item.active = 1;
    }
    if (hotkeyfires(item) || (i == startingfield && item.type == itemtextinput))
      item.active = 1;
    if (showson(item))
      item.state = itemon;
  }
}

// in slot order; a callback may activate other slots, and a later slot then runs in this pass
static void runcallbacks()
{
  for (currentmenuitem = 0; currentmenuitem < menuitemsinuse(); ++currentmenuitem) {
    menuitemrecord &item = menuitem[currentmenuitem];
    if (item.active && item.callback)
      item.callback();
    if (item.type != itemtextinput && item.callback)
      item.active = 0;  // one-shot: the callback ran once for this activation
    item.wasactive = item.active;
  }
}

static void settlekeyboardowner()
{
  menuinputkeyboard = 0;
  for (int i = 0; i < menuitemsinuse(); ++i)
    if (menuitem[i].active && menuitem[i].type == itemtextinput)
      menuinputkeyboard = 1;
}

void checkmenuitems()
{
  prevmenuinputkeyboard = menuinputkeyboard;
  releaseitems();
  hittestitems();
  startingfield = -1;
  runcallbacks();
  settlekeyboardowner();
}

// the item whose callback runs, with its variable; null outside the callback pass
static menuitemrecord *callbackitem()
{
  if (currentmenuitem < 0 || currentmenuitem >= menuitemsinuse())
    return nullptr;
  menuitemrecord &item = menuitem[currentmenuitem];
  return item.variable ? &item : nullptr;
}

void menutoggle()
{
  if (menuitemrecord *item = callbackitem())
    *static_cast<int32_t *>(item->variable) ^= 1;
}

void menuset()
{
  if (menuitemrecord *item = callbackitem())
    *static_cast<int32_t *>(item->variable) = item->setvalue;
}

// taken at the next hit test, after the releases a new press makes, so that a start asked for
// in the frame of a click holds
void beginmenuinput(int slot)
{
  startingfield = slot;
}

// Return and Escape end an edit the same way: the variable already holds the text. Slots past
// this frame's items keep the type they were last built with, so every slot is looked at
void endmenuinput()
{
  startingfield = -1;
  for (menuitemrecord &item : menuitem)
    if (item.type == itemtextinput)
      item.active = item.wasactive = 0;
  menuinputkeyboard = 0;
}
