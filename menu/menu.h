// Menus: the immediate-mode item table, its interaction and drawing, the text-entry field and
// the colour edit bars.
#pragma once

#include <cstdint>

// [SECTION] item table

// [SECTION] colour edit bars
constexpr int maxeditbars = 3;
struct editbarrecord {
  int32_t x, y;           // left and top edge, virtual pixels
  int32_t width, height;  // virtual pixels
  float red, green, blue; // the colour of the right end; the left end is black
  float *value;           // the variable shown and edited, 0.0 to 1.0; the caller's
};
extern editbarrecord editbar[maxeditbars];
extern int32_t numofeditbars;  // bars in use, set by the caller every frame

// the value a drag at virtual column x sets on a bar, snapped to eighths when asked
float editbarvalue(const editbarrecord &bar, int x, bool snap);
// with the left button held, the bar under the pointer takes the value of its column;
// Ctrl snaps it to eighths, Shift gives every bar the same value
void checkeditbars();
// every bar in use as a black-to-colour ramp with a grey marker, in one batch of quads
void rendereditbars();
