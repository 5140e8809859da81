// The pads whose layouts are known by the name the platform reports, the mapping lines that a
// player or a game adds, and the choice of one layout for each opened pad.
#include "files/messages.h"
#include "platform/padlayout.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

// Layouts as a mapping line's controls. The numbers are those that both SDL 1.2 and SDL2 give a
// device of the Linux event interface: buttons in the order of their event codes, from the
// gamepad buttons on, then the d-pad buttons and the extra ones; axes in the order of theirs, hats
// apart. The older joystick interface (js devices) gives each hat as two axes after the others,
// hence the d-pad's second source.

// the Xbox driver's numbering, which most Linux pad drivers follow, and so the default: A B X Y,
// the shoulders, Back, Start, the guide button (b8, unmapped), the sticks pressed in; the left
// stick, the left trigger, the right stick, the right trigger
constexpr const char *commonlayout =
    "south:b0,east:b1,west:b2,north:b3,leftshoulder:b4,rightshoulder:b5,back:b6,start:b7,"
    "leftstick:b9,rightstick:b10,dpadup:h0.1|-a7,dpaddown:h0.4|+a7,dpadleft:h0.8|-a6,"
    "dpadright:h0.2|+a6,leftx:a0,lefty:a1,rightx:a3,righty:a4,lefttrigger:a2,righttrigger:a5";
// the PlayStation drivers: cross circle triangle square, L1 R1, L2 R2 as buttons too, Share,
// Options, PS, L3 R3; the triggers on the axes between the sticks' as above
constexpr const char *playstationlayout =
    "south:b0,east:b1,north:b2,west:b3,leftshoulder:b4,rightshoulder:b5,back:b8,start:b9,"
    "leftstick:b11,rightstick:b12,dpadup:h0.1|-a7,dpaddown:h0.4|+a7,dpadleft:h0.8|-a6,"
    "dpadright:h0.2|+a6,leftx:a0,lefty:a1,rightx:a3,righty:a4,lefttrigger:a2,righttrigger:a5";
// the generic HID driver on an Xbox pad over Bluetooth: its report leaves gaps among the buttons
// (b2, b5, b8, b9), the right stick is Z and RZ, and the triggers are the brake and the gas
constexpr const char *xboxbluetoothlayout =
    "south:b0,east:b1,west:b3,north:b4,leftshoulder:b6,rightshoulder:b7,back:b10,start:b11,"
    "leftstick:b13,rightstick:b14,dpadup:h0.1|-a7,dpaddown:h0.4|+a7,dpadleft:h0.8|-a6,"
    "dpadright:h0.2|+a6,leftx:a0,lefty:a1,rightx:a2,righty:a3,lefttrigger:a5,righttrigger:a4";
// the Nintendo driver's Pro Controller: B A X Y by place, Capture (b4), L R, ZL ZR as buttons,
// minus, plus, Home, the sticks pressed in; four axes and the d-pad a hat, or, from kernels before
// it became one, four buttons after the others
constexpr const char *switchlayout =
    "south:b0,east:b1,north:b2,west:b3,leftshoulder:b5,rightshoulder:b6,lefttrigger:b7,"
    "righttrigger:b8,back:b9,start:b10,leftstick:b12,rightstick:b13,dpadup:h0.1|-a5,"
    "dpaddown:h0.4|+a5,dpadleft:h0.8|-a4,dpadright:h0.2|+a4,leftx:a0,lefty:a1,rightx:a2,righty:a3";
constexpr const char *switchbuttonslayout =
    "south:b0,east:b1,north:b2,west:b3,leftshoulder:b5,rightshoulder:b6,lefttrigger:b7,"
    "righttrigger:b8,back:b9,start:b10,leftstick:b12,rightstick:b13,dpadup:b14,dpaddown:b15,"
    "dpadleft:b16,dpadright:b17,leftx:a0,lefty:a1,rightx:a2,righty:a3";
// Valve's driver on the Steam Deck: the trackpads' clicks and the quick-access button first, the
// d-pad as buttons, the trackpads as hats 0 and 1 and the triggers as hat 2 (x the right one, y
// the left), which the older interface gives as axes 8 and 9
constexpr const char *decklayout =
    "south:b3,east:b4,west:b5,north:b6,leftshoulder:b7,rightshoulder:b8,back:b11,start:b12,"
    "leftstick:b14,rightstick:b15,dpadup:b16,dpaddown:b17,dpadleft:b18,dpadright:b19,leftx:a0,"
    "lefty:a1,rightx:a2,righty:a3,lefttrigger:h2.4|a9,righttrigger:h2.2|a8";
// SDL2 reading a PlayStation or Switch pad itself, where it may open the device's raw reports:
// its own order, the d-pad as buttons and the triggers as whole axes; on the Switch pad its
// buttons 0 to 3 follow the labels A B X Y rather than their places
constexpr const char *sdl2layout =
    "south:b0,east:b1,west:b2,north:b3,back:b4,start:b6,leftstick:b7,rightstick:b8,"
    "leftshoulder:b9,rightshoulder:b10,dpadup:b11,dpaddown:b12,dpadleft:b13,dpadright:b14,"
    "leftx:a0,lefty:a1,rightx:a2,righty:a3,lefttrigger:a4,righttrigger:a5";
constexpr const char *sdl2switchlayout =
    "south:b1,east:b0,west:b3,north:b2,back:b4,start:b6,leftstick:b7,rightstick:b8,"
    "leftshoulder:b9,rightshoulder:b10,dpadup:b11,dpaddown:b12,dpadleft:b13,dpadright:b14,"
    "leftx:a0,lefty:a1,rightx:a2,righty:a3,lefttrigger:a4,righttrigger:a5";

// the lines for one name are tried in order, the first whose controls the pad all has taken
struct knownpad {
  const char *name;      // as the platform reports the device
  const char *controls;  // its layout
};
const knownpad knownpads[] = {
    {"Microsoft X-Box 360 pad", commonlayout},  // the Xbox driver, by USB
    {"Microsoft X-Box One pad", commonlayout},
    {"Microsoft X-Box One S pad", commonlayout},
    {"Microsoft Xbox Series S|X Controller", commonlayout},
    {"Xbox 360 Wireless Receiver", commonlayout},
    {"Xbox 360 Controller", commonlayout},  // SDL2's names for the first two
    {"Xbox One Controller", commonlayout},
    {"Xbox Wireless Controller", xboxbluetoothlayout},
    {"Sony Interactive Entertainment Wireless Controller", playstationlayout},  // DualShock 4
    {"Sony Computer Entertainment Wireless Controller", playstationlayout},     // its first model
    {"Wireless Controller", playstationlayout},                                 // by Bluetooth
    {"PS4 Controller", sdl2layout},
    {"Sony Interactive Entertainment DualSense Wireless Controller", playstationlayout},
    {"DualSense Wireless Controller", sdl2layout},  // SDL2 has more buttons than b12
    {"DualSense Wireless Controller", playstationlayout},
    {"Sony Interactive Entertainment DualSense Edge Wireless Controller", playstationlayout},
    {"DualSense Edge Wireless Controller", sdl2layout},
    {"DualSense Edge Wireless Controller", playstationlayout},
    {"Nintendo Switch Pro Controller", sdl2switchlayout},  // six axes and fifteen buttons
    {"Nintendo Switch Pro Controller", switchlayout},
    {"Nintendo Switch Pro Controller", switchbuttonslayout},
    {"Steam Deck", decklayout},  // without Steam running: Steam's own pads are Xbox 360 pads
};
constexpr int numofknownpads = int(std::size(knownpads));

// lines added while the program runs, one for each name
struct addedline {
  char name[padnamelength];
  padlayout layout;
};
addedline added[maxpadmappings];
int numofaddedlines;
const char *refusal;
char lengthreason[48];

int findadded(const char *name, size_t length)
{
  for (int i = 0; i < numofaddedlines; ++i)
    if (strlen(added[i].name) == length && memcmp(added[i].name, name, length) == 0)
      return i;
  return -1;
}

// null when the line was taken, else why not
const char *takeline(const char *line)
{
  const size_t length = line ? strnlen(line, maxpadmappinglength + 1) : 0;
  if (length > size_t(maxpadmappinglength)) {
    snprintf(lengthreason, sizeof lengthreason, "longer than %d bytes", maxpadmappinglength);
    return lengthreason;
  }
  for (size_t i = 0; i < length; ++i)
    if (static_cast<unsigned char>(line[i]) < ' ')
      return "a control character in the line";
  const char *comma = line ? static_cast<const char *>(memchr(line, ',', length)) : nullptr;
  if (!comma || comma == line)
    return "no name before a ','";
  const size_t namelength = size_t(comma - line);
  if (namelength >= size_t(padnamelength))
    return "name longer than a pad's name can be";
  padlayout layout;
  if (const char *why = parsepadcontrols(comma + 1, layout))
    return why;
  int slot = findadded(line, namelength);
  if (slot < 0 && numofaddedlines == maxpadmappings)
    return "no room for another line";
  if (slot < 0)
    slot = numofaddedlines++;
  memcpy(added[slot].name, line, namelength);
  added[slot].name[namelength] = 0;
  added[slot].layout = layout;
  return nullptr;
}

}  // namespace

int addpadmapping(const char *line)
{
  refusal = takeline(line);
  if (refusal)
    return 0;
  layoutgamepads();
  return 1;
}

const char *padmappingerror()
{
  return refusal;
}

int choosepadlayout(const char *name, const gamepadstate &pad, padlayout &layout)
{
  const int slot = findadded(name, strlen(name));
  if (slot >= 0) {
    layout = added[slot].layout;
    return 1;
  }
  for (int i = 0; i < numofknownpads; ++i)
    if (strcmp(knownpads[i].name, name) == 0 && !parsepadcontrols(knownpads[i].controls, layout) &&
        padlayoutfits(layout, pad))
      return 1;
  parsepadcontrols(commonlayout, layout);
  return 0;
}

void addpadmappings(const char *text, const char *from)
{
  char line[maxpadmappinglength + 2];  // one byte more than a line may have, to tell it is longer
  for (int number = 1; *text; ++number) {
    const char *end = strchr(text, '\n');
    const size_t length = end ? size_t(end - text) : strlen(text);
    snprintf(line, sizeof line, "%.*s", int(std::min(length, sizeof line - 1)), text);
    const size_t kept = strlen(line);
    if (kept > 0 && line[kept - 1] == '\r')
      line[kept - 1] = 0;  // a line ended the DOS way
    if (line[0] && line[0] != '#' && !addpadmapping(line))
      reportmessage("%s: line %d refused: %s", from, number, padmappingerror());
    text += length + (end != nullptr);
  }
}
