// Preloaded into a program under test on SDL 1.2 over SDL2: a virtual pad (two axes, four buttons
// and a hat) is attached as the program starts its joysticks, and each poll of them first takes
// the next line added to the file TAVREL_VIRTUALPAD names: "axis N VALUE", "button N 0|1" or
// "hat N BITS". Classic SDL 1.2 has no virtual joysticks; there it does nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace {

constexpr uint32_t joysticksubsystem = 0x200;  // SDL_INIT_JOYSTICK in both versions
void *sdl2;     // the SDL2 that sdl12-compat loaded
void *device;   // the virtual pad, opened through it
FILE *commands;

template <typename result, typename... arguments> result call(const char *name, arguments... a)
{
  return reinterpret_cast<result (*)(arguments...)>(dlsym(sdl2, name))(a...);
}

void attach()
{
  const char *file = getenv("TAVREL_VIRTUALPAD");
  sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
  if (!sdl2 || !file || !dlsym(sdl2, "SDL_JoystickAttachVirtual") ||
      call<int>("SDL_InitSubSystem", joysticksubsystem) != 0)
    return;
  const int index = call<int>("SDL_JoystickAttachVirtual", 1, 2, 4, 1);  // a game controller
  if (index >= 0 && (commands = fopen(file, "r")))
    device = call<void *>("SDL_JoystickOpen", index);
}

// one line a poll, so that each state lasts a frame at least however the writer's and the
// program's timing fall; a line still being written is read again at the next poll
void applycommand()
{
  char line[64], kind[16];
  int number, value;
  clearerr(commands);
  const long start = ftell(commands);
  if (!fgets(line, sizeof line, commands) || !strchr(line, '\n')) {
    fseek(commands, start, SEEK_SET);
    return;
  }
  if (sscanf(line, "%15s %d %d", kind, &number, &value) != 3)
    return;
  if (!strcmp(kind, "axis"))
    call<int>("SDL_JoystickSetVirtualAxis", device, number, int16_t(value));
  else if (!strcmp(kind, "button"))
    call<int>("SDL_JoystickSetVirtualButton", device, number, uint8_t(value));
  else if (!strcmp(kind, "hat"))
    call<int>("SDL_JoystickSetVirtualHat", device, number, uint8_t(value));
}

}  // namespace

extern "C" int SDL_InitSubSystem(uint32_t flags)
{
  static const auto next = reinterpret_cast<int (*)(uint32_t)>(dlsym(RTLD_NEXT, __func__));
  if ((flags & joysticksubsystem) && !device)
    attach();
  return next ? next(flags) : -1;
}

extern "C" void SDL_JoystickUpdate()
{
  static const auto next = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, __func__));
  if (device)
    applycommand();
  if (next)
    next();
}
