// Every joystick's axes, buttons and hats, and a known pad's named controls, read from virtual
// devices: SDL 1.2 over SDL2 forwards to SDL2, whose virtual joysticks a test can attach and move
// in its own process. Classic SDL 1.2 has none, so there the test is skipped; the build's second
// run covers it.
#include "engine.h"
#include "glwindow.h"

#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

// SDL2's description of a virtual joystick with a name (SDL_VirtualJoystickDesc, version 1)
struct sdl2virtualpad {
  uint16_t version, type, axes, buttons, hats, vendor, product, padding;
  uint32_t buttonmask, axismask;
  const char *name;
  void *userdata, *calls[6];
};

// the few SDL2 calls the test makes, looked up in the SDL2 that sdl12-compat loaded
struct sdl2calls {
  int (*initsubsystem)(uint32_t);
  int (*attachvirtual)(int type, int axes, int buttons, int hats);
  int (*attachnamed)(const sdl2virtualpad *description);
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
         find(sdl2.attachnamed, "SDL_JoystickAttachVirtualEx") &&
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
  // five devices: the fifth is beyond what is opened; the second has more axes than are kept; the
  // first is named as the kernel names a DualShock 4, of no type: SDL2 would start a virtual game
  // controller's axes 4 and 5 as its triggers, released, where the DualShock has its right stick
  const char *dualshock = "Sony Interactive Entertainment Wireless Controller";
  const sdl2virtualpad named = {1, 0, 6, 15, 1, 0, 0, 0, 0, 0, dualshock, {}, {}};
  ASSERT_GE(sdl2.attachnamed(&named), 0);
  const int axes[] = {20, 2, 2, 2}, buttons[] = {40, 1, 1, 1}, hats[] = {6, 0, 0, 0};
  for (int i = 0; i < 4; ++i)
    ASSERT_GE(sdl2.attachvirtual(sdl2gamecontroller, axes[i], buttons[i], hats[i]), 0);
  config.usejoystick = 1;
  setupjoystick();
  ASSERT_EQ(numofgamepads, maxgamepads);
  ASSERT_NE(joy1, nullptr);
  EXPECT_EQ(gamepad[0].numofaxes, 6);
  EXPECT_EQ(gamepad[1].numofaxes, gamepadaxes);
  EXPECT_EQ(gamepad[1].numofbuttons, gamepadbuttons);
  EXPECT_EQ(gamepad[1].numofhats, gamepadhats);
  EXPECT_STREQ(gamepadname[0], dualshock);
  EXPECT_EQ(padlayoutknown[0], 1);
  EXPECT_EQ(padlayoutknown[1], 0);

  void *first = sdl2.open(0), *second = sdl2.open(1);
  ASSERT_TRUE(first && second);
  sdl2.setaxis(first, 0, 1000);
  sdl2.setaxis(first, 3, -20000);  // the right stick of a twin-stick pad
  sdl2.setbutton(first, 14, 1);
  sdl2.setbutton(first, 2, 1);  // triangle
  sdl2.setaxis(first, 2, 32767);  // L2 pulled
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
  EXPECT_EQ(namedpad[0].button[padnorth], 1);
  EXPECT_EQ(padpressed(0, padnorth), 1);
  EXPECT_EQ(namedpad[0].button[paddpadleft] + namedpad[0].button[paddpadup], 2);
  EXPECT_EQ(namedpad[0].axis[padlefttrigger], 1);
  EXPECT_NEAR(namedpad[0].axis[padrightx], -0.51f, 0.01f);

  sdl2.setbutton(first, 14, 0);
  checkjoystick();
  EXPECT_EQ(prevgamepad[0].button[14], 1);
  EXPECT_EQ(gamepad[0].button[14], 0);
  EXPECT_EQ(padpressed(0, padnorth), 0);  // held, no longer newly

  // a press let go before the poll, met only as an event by the drain, shows in it once
  SDL_Event tap = {};
  tap.type = SDL_JOYBUTTONDOWN;
  tap.jbutton.which = 0;
  tap.jbutton.button = 5;
  SDL_PushEvent(&tap);
  for (int shown : {1, 0}) {
    checksystemmessages();
    checkjoystick();
    EXPECT_EQ(gamepad[0].button[5], shown);
  }

  shutdownjoystick();
  EXPECT_EQ(numofgamepads, 0);
  EXPECT_EQ(gamepad[0].numofaxes, 0);
  EXPECT_EQ(joy1, nullptr);
  EXPECT_EQ(namedpad[0].button[padnorth], 0);
}

}  // namespace
