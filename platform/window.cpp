// The window record and the one video-mode call shared by start-up and focus regain.
#include "platform/platform.h"

#include <SDL.h>

windowstate windowinfo;

void setupglattributes()
{
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

int setvideomode()
{
  Uint32 flags = SDL_OPENGL | (windowinfo.fullscreen ? SDL_FULLSCREEN : 0);
  return SDL_SetVideoMode(windowinfo.width, windowinfo.height, 32, flags) != nullptr;
}

void setupglext()
{
}
