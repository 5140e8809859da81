// Preloaded into a program under test: every buffer swap takes 30 ms more, as it would on a
// 33 Hz display with vertical sync, so that a press quicker than that falls between two frames;
// TAVREL_SWAPDELAYMS asks for another delay, such as a slow machine's.
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

extern "C" void SDL_GL_SwapBuffers()
{
  static const auto swap = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
  static const char *asked = getenv("TAVREL_SWAPDELAYMS");
  static const long delayms = asked && *asked ? atol(asked) : 30;
  if (swap)
    swap();
  usleep(useconds_t(delayms * 1000));
}
