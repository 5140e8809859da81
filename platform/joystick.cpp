// The joystick poll: two axes and four buttons of joy1, when the game has joystick use on.
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
  SDL_JoystickUpdate();
  if (!joy1)
    return;
  for (int axis = 0; axis < 2; ++axis)
    joystick.axis[axis] = SDL_JoystickGetAxis(joy1, axis);
  for (int button = 0; button < 4; ++button)
    joystick.button[button] = SDL_JoystickGetButton(joy1, button);
}
