// Menu interaction: turns the pointer, the left button, the hotkeys and the navigation into each
// item's state and activity, runs the callbacks of active items, and the stock toggle and set
// callbacks; a text field's edit begun or ended from code.
#include "menu/menu.h"
#include "menu/menuparts.h"

#include <cstdint>

int32_t menuinputkeyboard;
int32_t prevmenuinputkeyboard;
int32_t menutookinput;

static int startingfield = -1;  // the slot whose edit beginmenuinput asked for, until a hit test

bool newleftpress()
{
  return mouse.left && !prevmouse.left;
}

// what menuclicked reports is the latest pass's alone, in slots built this frame or not
static void forgetclicks()
{
  for (menuitemrecord &item : menuitem)
    item.clicked = 0;
}

// a new press anywhere, or an activation by keys or pad, ends latched activations; a repeat
// item's activity lasts one frame
static void releaseitems(bool navigated)
{
  const bool press = newleftpress() || navigated;
  for (int i = 0; i < menuitemsinuse(); ++i)
    if (press || menuitem[i].repeat)
      menuitem[i].active = 0;
}

static bool pointerinside(const menuitemrecord &item)
{
  const itembox box = menuitembox(item);
  return box.left <= mouse.x && mouse.x < box.right && box.top <= mouse.y && mouse.y < box.bottom;
}

// the hotkey goes down, or is held for repeat items; asleep while a text input has the keyboard
static bool hotkeyfires(const menuitemrecord &item)
{
  const int key = item.hotkey;  // the table is public: a code outside the key arrays is no key
  if (key < 0 || key >= keycount || menuinputkeyboard)
    return false;
  return item.repeat ? keyboard[key] != 0 : keypressed(key);
}

// every enabled item under the pointer is hovered and every one of them is activated by a new
// press: there is no tie-break, and the focus goes to the last; the slot navigated is activated
// as if clicked; states are settled before any callback runs
static void hittestitems(int navigated)
{
  const bool press = newleftpress();
  for (int i = 0; i < menuitemsinuse(); ++i) {
    menuitemrecord &item = menuitem[i];
    if (item.state == itemdisabled)
      continue;
    item.state = itemnormal;
    bool taken = i == navigated || hotkeyfires(item);
    if (pointerinside(item)) {
      item.state = itemhovered;
      if (press)
        menufocus = i;
      taken = taken || press;
    }
    menutookinput |= taken;
    if (taken || (i == startingfield && item.type == itemtextinput))
      item.active = item.clicked = 1;
    if (item.active || variableshowson(item))
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

// the focus follows the field being edited, which Tab may have moved on
static void settlekeyboardowner()
{
  menuinputkeyboard = 0;
  for (int i = 0; i < menuitemsinuse(); ++i)
    if (menuitem[i].active && menuitem[i].type == itemtextinput) {
      menuinputkeyboard = 1;
      menufocus = i;
    }
}

void checkmenuitems()
{
  prevmenuinputkeyboard = menuinputkeyboard;
  menutookinput = 0;
  forgetclicks();
  const int navigated = navigatemenu();
  releaseitems(navigated >= 0);
  hittestitems(navigated);
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
