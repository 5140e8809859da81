// Inside the platform: a pad's layout, where each named control is read from among the device's
// numbered axes, buttons and hats, as a mapping line gives it, and the reading of a pad through
// it; and the pad presses the event drain hands the poll. Pure: no SDL, no tables, so that tests
// and the fuzzer can drive it.
#pragma once

#include "platform/platform.h"

// the named controls in a layout: the buttons (padsouth...), then the axes (padleftx...)
constexpr int padcontrols = namedpadbuttons + namedpadaxes;
// a control may be read from two places, the one pressed further counting: a d-pad that the
// event interface gives as a hat and the older joystick interface as two axes
constexpr int padsourcesper = 2;

enum padsourcekind : uint8_t {
  padnosource,
  padbuttonsource,    // bN: a button, 0 or 1
  padaxissource,      // aN: a whole axis, -32768..32767 (a trigger: released at -32768)
  padpositivesource,  // +aN: the half of an axis from its centre to 32767
  padnegativesource,  // -aN: the half of an axis from its centre to -32768
  padhatsource,       // hN.D: one direction bit of a hat
};
struct padsource {
  uint8_t kind;      // a padsourcekind
  uint8_t index;     // of the button, axis or hat
  uint8_t hatbit;    // hatup, hatright, hatdown or hatleft
  uint8_t inverted;  // an axis read the other way round (aN~)
};
struct padlayout {
  padsource source[padcontrols][padsourcesper];  // unused ones padnosource
};

// reads a line's controls, "south:b0,leftx:a0,dpadup:h0.1|-a7,..." (the part after the name),
// into layout; null when every field was good, else why not (the layout is then unusable)
const char *parsepadcontrols(const char *controls, padlayout &layout);
// 1 when each control the layout maps has a source among those the pad has
int padlayoutfits(const padlayout &layout, const gamepadstate &pad);
// the pad's named reading through layout with the dead zones; movedaxes has bit n set once axis
// n has read other than 0: before that a whole axis reads as a released trigger, since classic
// SDL 1.2 reports 0 for each axis until its first change
void readnamedpad(const padlayout &layout, const gamepadstate &pad, uint32_t movedaxes,
                  namedpadstate &out);
// the layout for a pad of that name and shape: 1 with a line for its name, 0 with the default
int choosepadlayout(const char *name, const gamepadstate &pad, padlayout &layout);
// every line of text (lines split at newlines, blank ones passed over) through addpadmapping,
// each refusal named in a message line after from ("TAVREL_GAMEPAD_MAPPING: line 2 refused: ...")
void addpadmappings(const char *text, const char *from);
// lays each opened pad out again after a line was added
void layoutgamepads();

// a button pressed or a hat pushed on the platform's joystick device, met by the event drain:
// shown by the next poll even when it was let go before it, as a key's press is
void latchpadbutton(int device, int button);
void latchpadhat(int device, int hat, int directions);
