// The music's decoder on a thread of its own, where the platform has threads: it tops the ring up
// whenever there is room, leaves once the decoder is done, and the main thread joins it in its
// next music call, never waiting long.
#include "sound/soundmix.h"

#include <SDL.h>
#include <SDL_thread.h>

static SDL_Thread *decoder = nullptr;
static std::atomic<int32_t> decoderleft{0};  // the decoder has closed the file and is returning

static int SDLCALL decodemusic(void *)
{
  while (musicdecoder())
    SDL_Delay(5);  // a 0.7 s ring fills in a few milliseconds and drains in 0.7 s
  decoderleft.store(1, std::memory_order_release);
  return 0;
}

int startdecoder()
{
  decoderleft = 0;
  decoder = SDL_CreateThread(decodemusic, nullptr);
  return decoder != nullptr;
}

void joindecoder(bool wait)
{
  if (!decoder || (!wait && !decoderleft.load(std::memory_order_acquire)))
    return;
  musicbuffer.ended.store(1, std::memory_order_relaxed);
  SDL_WaitThread(decoder, nullptr);
  decoder = nullptr;
}

void feedmusic()
{
}
