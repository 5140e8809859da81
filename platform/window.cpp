// The window record, the platform's start and the one video-mode call shared by start-up and
// focus regain, each with the environment variables the engine chose for it in place.
#include "platform/platform.h"
#include "platform/variables.h"

#include "texture/texture.h"

#include <SDL.h>

windowstate windowinfo;

// key presses carry the characters the player's layout, dead keys and compose make of them
int startplatformvideo()
{
  const platformvariablesinplace choices;
  if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) != 0)
    return 0;
  SDL_EnableUNICODE(1);
  return 1;
}

void setgraphics(int on)
{
  windowinfo.graphics = on != 0;
  textureuploads = on != 0;
}

int oversdl2()
{
  const SDL_version *version = SDL_Linked_Version();
  return version->major == 1 && version->minor == 2 && version->patch >= 50;
}

void setupglattributes()
{
  if (!SDL_WasInit(SDL_INIT_VIDEO))
    return;  // the attributes belong to a started platform
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

int setvideomode()
{
  const Uint32 flags = SDL_OPENGL | (windowinfo.fullscreen ? SDL_FULLSCREEN : 0);
  const platformvariablesinplace choices;
  const SDL_Surface *screen = SDL_SetVideoMode(windowinfo.width, windowinfo.height, 32, flags);
  if (!screen)
    return 0;
  // a size of 0 lets the platform choose; the pointer and the viewports scale by the real one
  windowinfo.width = screen->w;
  windowinfo.height = screen->h;
  return 1;
}

void setupglext()
{
}
