// The music's decoder where the platform has no threads (the web): the frame tops the ring up
// through feedmusic, which a 0.7 s ring outlasts between any two frames a page is shown at, so
// that a page needs no threads and so no cross-origin isolation.
#include "sound/soundmix.h"

static bool decoding = false;

int startdecoder()
{
  decoding = true;
  return 1;
}

void joindecoder(bool wait)
{
  if (!decoding)
    return;
  if (wait)
    musicbuffer.ended.store(1, std::memory_order_relaxed);
  if (musicbuffer.ended.load(std::memory_order_relaxed))
    feedmusic();  // which sees the end, and closes the file
}

void feedmusic()
{
  decoding = decoding && musicdecoder();
}
