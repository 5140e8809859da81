// The platform reads a few environment variables as it starts and as it sets a video mode (the
// video driver, and over sdl12-compat its window scaling). The engine's choices for them are kept
// here and set only around those two calls, the caller's own values put back exactly after, so
// that a program the game starts meanwhile inherits none of them. The engine's own, not public.
#pragma once

#include <string>

constexpr int maxplatformvariables = 4;

// holds value for variable from the next call on; a null value forgets the choice
void chooseplatformvariable(const char *variable, const char *value);
// starts the platform's timer and video with the choices in place; 0 when it cannot (SDL_GetError
// says why)
int startplatformvideo();

// sets the choices for its own lifetime, the length of one platform call, then puts back exactly
// what was there
class platformvariablesinplace {
public:
  platformvariablesinplace();
  ~platformvariablesinplace();
  platformvariablesinplace(const platformvariablesinplace &) = delete;
  platformvariablesinplace &operator=(const platformvariablesinplace &) = delete;

private:
  bool had[maxplatformvariables];
  std::string before[maxplatformvariables];
};
