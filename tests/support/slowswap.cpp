// Preloaded into a program under test: every buffer swap takes 30 ms more, as it would on a
// 33 Hz display with vertical sync, so that a press quicker than that falls between two frames.
#include <dlfcn.h>
#include <unistd.h>

extern "C" void SDL_GL_SwapBuffers()
{
  static const auto swap = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
  if (swap)
    swap();
  usleep(30000);
}
