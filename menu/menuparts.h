// What the menu's files share and a game does not see: an item's hit box, the state its variable
// shows, and the navigation step that checkmenuitems takes.
#pragma once

#include "menu/menu.h"

#include <cstdint>

constexpr int markcells = 2;  // a state mark's cell and the gap after it, before the caption

// virtual pixels, in 64 bits so that items far off the screen cannot overflow
struct itembox {
  int64_t left, top, right, bottom;  // the right and bottom edges lie outside the box
};

// 1 when the item is a toggle or radio item drawn with its state mark
bool showsmark(const menuitemrecord &item);
// the caption row, with the mark before it and a two-line field's row under it
itembox menuitembox(const menuitemrecord &item);
// a toggle's variable is set, a radio item's holds its value
bool variableshowson(const menuitemrecord &item);
// enabled and with a box the pointer could hit: what the focus may take
bool focusable(const menuitemrecord &item);
// menufocus names one of this frame's items that it may take
bool focusinuse();
// the left button went down in this frame
bool newleftpress();
// the repeats due by the time a key or move has been held that long, the first after delay
// seconds and then one each interval
inline int repeatsby(float seconds, float delay, float interval)
{
  return seconds < delay ? 0 : 1 + int((seconds - delay) / interval);
}

// the focus moved by this frame's keys and pad, a pad's edit ended; the slot that keys or pad
// activate in this frame, or -1
int navigatemenu();
