// The desktop's side of the platform's differences: the blank pointer, the frame cap's sleep, the
// window's icon and its hiding at the shutdown.
#include "platform/platform.h"
#include "platform/system.h"

#include <SDL.h>
#include <cerrno>

static SDL_Cursor *blankpointer;  // of this start-up of the platform: its shutdown frees it

// The platform's own pointer never shows: the programs draw theirs. Hidden outright while the
// mouse is held, the platform reads the mouse's motion alone (unbounded, for mouse look) and
// adds it up into a pointer of its own, which an absolute device's moves (a tablet, a touch
// screen, a virtual machine's pointer) would leave behind. So only mouse look hides it; else it
// shows as a blank pointer, reported where it really is, held inside the window by the grab
void showpointer()
{
  const bool look = mouselook && mouselocked;
  if (!look && blankpointer)
    SDL_SetCursor(blankpointer);
  SDL_ShowCursor(look || !blankpointer ? SDL_DISABLE : SDL_ENABLE);
}

void setuppointer()
{
  static Uint8 clear[2 * 16];  // 16x16, neither drawn nor in the mask
  blankpointer = SDL_CreateCursor(clear, clear, 16, 16, 0, 0);
  showpointer();
}

// sleeps until the cap's share of a second has passed since the last swap, through signals
void waitforframe(const timespec &lastswap)
{
  if (framecap <= 0)
    return;
  const long period = 1000000000L / framecap;
  timespec until = lastswap;
  until.tv_nsec += period % 1000000000L;
  until.tv_sec += period / 1000000000L + until.tv_nsec / 1000000000L;
  until.tv_nsec %= 1000000000L;
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

void setwindowicon(const char *path)
{
  SDL_Surface *icon = SDL_LoadBMP_RW(SDL_RWFromFile(path, "rb"), 1);
  if (!icon)
    return;  // a window without an icon is no reason to stop
  SDL_WM_SetIcon(icon, nullptr);
  SDL_FreeSurface(icon);
}

void iconifywindow()
{
  SDL_WM_IconifyWindow();
}
