// The joysticks: up to four devices opened for a game, the first also as joy1, and the poll of
// their axes, buttons and hats while the game has joystick use on, each also read by its layout.
#include "platform/padlayout.h"
#include "platform/platform.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

joystickstate joystick;
joystickstate prevjoystick;
SDL_Joystick *joy1;
gamepadstate gamepad[maxgamepads];
gamepadstate prevgamepad[maxgamepads];
int32_t numofgamepads;
namedpadstate namedpad[maxgamepads];
namedpadstate prevnamedpad[maxgamepads];
char gamepadname[maxgamepads][padnamelength];
int32_t padlayoutknown[maxgamepads];

static SDL_Joystick *opened[maxgamepads];
static padlayout layoutof[maxgamepads];  // the layout each opened pad is read by
static uint32_t movedaxes[maxgamepads];  // per pad, bit n once axis n has read other than 0
static uint32_t latchedbuttons[maxgamepads];             // per pad, presses since the last poll
static int32_t latchedhats[maxgamepads][gamepadhats];    // and hat pushes

// the device's own counts, cut to what the record holds
static void countcontrols(gamepadstate &pad, SDL_Joystick *device)
{
  pad.numofaxes = std::clamp(SDL_JoystickNumAxes(device), 0, gamepadaxes);
  pad.numofbuttons = std::clamp(SDL_JoystickNumButtons(device), 0, gamepadbuttons);
  pad.numofhats = std::clamp(SDL_JoystickNumHats(device), 0, gamepadhats);
}

// the record a platform device index was opened into, or -1
static int recordof(int device)
{
  for (int i = 0; i < numofgamepads; ++i)
    if (SDL_JoystickIndex(opened[i]) == device)
      return i;
  return -1;
}

void latchpadbutton(int device, int button)
{
  const int i = recordof(device);
  if (i >= 0 && button >= 0 && button < gamepadbuttons)
    latchedbuttons[i] |= uint32_t(1) << button;
}

void latchpadhat(int device, int hat, int directions)
{
  const int i = recordof(device);
  if (i >= 0 && hat >= 0 && hat < gamepadhats)
    latchedhats[i][hat] |= directions & (hatup | hatright | hatdown | hatleft);
}

// the device's state, with the presses latched since the last poll that it no longer shows: a
// press let go before this poll. One the last poll showed held is that press's own event, which
// the drain may meet a frame after the device's state has shown it
static void readgamepad(int i)
{
  gamepadstate &pad = gamepad[i];
  const gamepadstate &before = prevgamepad[i];
  SDL_Joystick *device = opened[i];
  for (int axis = 0; axis < pad.numofaxes; ++axis)
    pad.axis[axis] = SDL_JoystickGetAxis(device, axis);
  for (int button = 0; button < pad.numofbuttons; ++button)
    pad.button[button] = SDL_JoystickGetButton(device, button) ||
                         ((latchedbuttons[i] >> button & 1) && !before.button[button]);
  for (int hat = 0; hat < pad.numofhats; ++hat)
    pad.hat[hat] = (SDL_JoystickGetHat(device, hat) | (latchedhats[i][hat] & ~before.hat[hat])) &
                   (hatup | hatright | hatdown | hatleft);
  latchedbuttons[i] = 0;
  memset(latchedhats[i], 0, sizeof latchedhats[i]);
}

static void readbylayout(int i)
{
  for (int axis = 0; axis < gamepad[i].numofaxes; ++axis)
    movedaxes[i] |= uint32_t(gamepad[i].axis[axis] != 0) << axis;
  readnamedpad(layoutof[i], gamepad[i], movedaxes[i], namedpad[i]);
}

void layoutgamepads()
{
  for (int i = 0; i < numofgamepads; ++i)
    padlayoutknown[i] = choosepadlayout(gamepadname[i], gamepad[i], layoutof[i]);
}

int padpressed(int pad, int button)
{
  if (pad < 0 || pad >= maxgamepads || button < 0 || button >= namedpadbuttons)
    return 0;
  return namedpad[pad].button[button] && !prevnamedpad[pad].button[button];
}

void checkjoystick()
{
  if (!config.usejoystick)
    return;
  prevjoystick = joystick;
  memcpy(prevgamepad, gamepad, sizeof gamepad);
  memcpy(prevnamedpad, namedpad, sizeof namedpad);
  if (!joy1)
    return;  // without a device the platform's joystick support may not even be started
  SDL_JoystickUpdate();
  for (int axis = 0; axis < 2; ++axis)
    joystick.axis[axis] = SDL_JoystickGetAxis(joy1, axis);
  for (int button = 0; button < 4; ++button)
    joystick.button[button] = SDL_JoystickGetButton(joy1, button);
  for (int i = 0; i < numofgamepads; ++i) {
    readgamepad(i);
    readbylayout(i);
  }
}

void setupjoystick()
{
  if (joy1 || SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
    return;
  const int devices = std::min(SDL_NumJoysticks(), maxgamepads);
  for (int index = 0; index < devices; ++index) {
    SDL_Joystick *device = SDL_JoystickOpen(index);
    if (!device)
      continue;  // one that cannot be opened leaves no gap: the next takes its record
    opened[numofgamepads] = device;
    const char *name = SDL_JoystickName(index);
    snprintf(gamepadname[numofgamepads], padnamelength, "%s", name ? name : "");
    countcontrols(gamepad[numofgamepads++], device);
  }
  joy1 = opened[0];
  if (const char *lines = getenv("TAVREL_GAMEPAD_MAPPING"))
    addpadmappings(lines, "TAVREL_GAMEPAD_MAPPING");
  layoutgamepads();
}

void shutdownjoystick()
{
  for (int i = 0; i < numofgamepads; ++i)
    SDL_JoystickClose(opened[i]);
  memset(opened, 0, sizeof opened);
  memset(gamepad, 0, sizeof gamepad);
  memset(prevgamepad, 0, sizeof prevgamepad);
  memset(namedpad, 0, sizeof namedpad);
  memset(prevnamedpad, 0, sizeof prevnamedpad);
  memset(gamepadname, 0, sizeof gamepadname);
  memset(padlayoutknown, 0, sizeof padlayoutknown);
  memset(layoutof, 0, sizeof layoutof);
  memset(movedaxes, 0, sizeof movedaxes);
  memset(latchedbuttons, 0, sizeof latchedbuttons);
  memset(latchedhats, 0, sizeof latchedhats);
  numofgamepads = 0;
  joy1 = nullptr;
}
