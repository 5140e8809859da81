// The end of a frame: the buffer swap, the optional frame cap, and the frame's length for
// movement that keeps its speed at any frame rate.
#include "platform/platform.h"
#include "platform/system.h"

#include <SDL.h>
#include <ctime>

float frametime;
int32_t framecount;
int32_t framecap;

static timespec lastswap;

static double secondsbetween(const timespec &from, const timespec &to)
{
  return double(to.tv_sec - from.tv_sec) + double(to.tv_nsec - from.tv_nsec) * 1e-9;
}

void setupframetiming()
{
  clock_gettime(CLOCK_MONOTONIC, &lastswap);
  frametime = 0;
  framecount = 0;
}

void swapbuffers()
{
  if (SDL_WasInit(SDL_INIT_VIDEO))  // before the start-up or after the shutdown there is no window
    SDL_GL_SwapBuffers();
  waitforframe(lastswap);
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  frametime = float(secondsbetween(lastswap, now));
  lastswap = now;
  ++framecount;
}
