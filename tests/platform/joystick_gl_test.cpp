// Every joystick's axes, buttons and hats, read from virtual devices: SDL 1.2 over SDL2 forwards
// to SDL2, whose virtual joysticks a test can attach and move in its own process. Classic SDL
// 1.2 has none, so there the test is skipped; the build's second run covers it.
#include "engine.h"
#include "glwindow.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

// the few SDL2 calls the test makes, looked up in the SDL2 that sdl12-compat loaded
struct sdl2calls {
  int (*initsubsystem)(uint32_t);
  int (*attachvirtual)(int type, int axes, int buttons, int hats);
  void *(*open)(int index);
  int (*setaxis)(void *device, int axis, int16_t value);
  int (*setbutton)(void *device, int button, uint8_t value);
  int (*sethat)(void *device, int hat, uint8_t value);
};

bool findsdl2(sdl2calls &sdl2)
{
  void *library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
  if (!library)
    return false;
  auto find = [&](auto &call, const char *name) {
    call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(dlsym(library, name));
    return call != nullptr;
  };
  return find(sdl2.initsubsystem, "SDL_InitSubSystem") &&
         find(sdl2.attachvirtual, "SDL_JoystickAttachVirtual") &&
         find(sdl2.open, "SDL_JoystickOpen") && find(sdl2.setaxis, "SDL_JoystickSetVirtualAxis") &&
         find(sdl2.setbutton, "SDL_JoystickSetVirtualButton") &&
         find(sdl2.sethat, "SDL_JoystickSetVirtualHat");
}

constexpr uint32_t sdl2joystick = 0x200;
constexpr int sdl2gamecontroller = 1;

TEST(gamepads, every_axis_button_and_hat_of_up_to_four_devices)
{
  sdl2calls sdl2;
  if (!findsdl2(sdl2))
    GTEST_SKIP() << "no SDL2 below SDL 1.2: no virtual joysticks";
  ASSERT_EQ(sdl2.initsubsystem(sdl2joystick), 0);
  // five devices: the fifth is beyond what is opened; the second has more axes than are kept
  const int axes[] = {6, 20, 2, 2, 2}, buttons[] = {15, 40, 1, 1, 1}, hats[] = {1, 6, 0, 0, 0};
  for (int i = 0; i < 5; ++i)
    ASSERT_GE(sdl2.attachvirtual(sdl2gamecontroller, axes[i], buttons[i], hats[i]), 0);
  config.usejoystick = 1;
  setupjoystick();
  ASSERT_EQ(numofgamepads, maxgamepads);
  ASSERT_NE(joy1, nullptr);
  EXPECT_EQ(gamepad[0].numofaxes, 6);
  EXPECT_EQ(gamepad[1].numofaxes, gamepadaxes);
  EXPECT_EQ(gamepad[1].numofbuttons, gamepadbuttons);
  EXPECT_EQ(gamepad[1].numofhats, gamepadhats);

  void *first = sdl2.open(0), *second = sdl2.open(1);
  ASSERT_TRUE(first && second);
  sdl2.setaxis(first, 0, 1000);
  sdl2.setaxis(first, 3, -20000);  // the right stick of a twin-stick pad
  sdl2.setbutton(first, 14, 1);
  sdl2.sethat(first, 0, hatleft | hatup);
  sdl2.setaxis(second, gamepadaxes - 1, 32767);
  sdl2.sethat(second, gamepadhats - 1, hatdown);
  checkjoystick();
  EXPECT_EQ(gamepad[0].axis[3], -20000);
  EXPECT_EQ(gamepad[0].button[14], 1);
  EXPECT_EQ(gamepad[0].hat[0], hatleft | hatup);
  EXPECT_EQ(gamepad[1].axis[gamepadaxes - 1], 32767);
  EXPECT_EQ(gamepad[1].hat[gamepadhats - 1], hatdown);
  EXPECT_EQ(joystick.axis[0], 1000);  // joy1's record reads the first device as before

  sdl2.setbutton(first, 14, 0);
  checkjoystick();
  EXPECT_EQ(prevgamepad[0].button[14], 1);
  EXPECT_EQ(gamepad[0].button[14], 0);

  shutdownjoystick();
  EXPECT_EQ(numofgamepads, 0);
  EXPECT_EQ(gamepad[0].numofaxes, 0);
  EXPECT_EQ(joy1, nullptr);
}

}  // namespace
