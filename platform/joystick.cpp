// The joystick: the first device opened for a game, and the poll of its two axes and four buttons
// while the game has joystick use on.
#include "platform/platform.h"

#include <SDL.h>

joystickstate joystick;
joystickstate prevjoystick;
SDL_Joystick *joy1;

void checkjoystick()
{
  if (!config.usejoystick)
    return;
  prevjoystick = joystick;
  if (!joy1)
    return;  // without a device the platform's joystick support may not even be started
  SDL_JoystickUpdate();
  for (int axis = 0; axis < 2; ++axis)
    joystick.axis[axis] = SDL_JoystickGetAxis(joy1, axis);
  for (int button = 0; button < 4; ++button)
    joystick.button[button] = SDL_JoystickGetButton(joy1, button);
}

void setupjoystick()
{
  if (joy1 || SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
    return;
  if (SDL_NumJoysticks() > 0)
    joy1 = SDL_JoystickOpen(0);
}

void shutdownjoystick()
{
  if (joy1)
    SDL_JoystickClose(joy1);
  joy1 = nullptr;
}
