// Fuzz target: any bytes as a WAV file, loaded from memory and converted for a 44.1 kHz device
// (none is opened), then mixed for a few blocks on two channels, one of them looping.
#include "engine.h"
#include "sound/soundmix.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  sounddevice = {1, soundrate};
  if (!loadsoundbytes(0, data, size))
    return 0;
  playsound(0, -1, 0.7f, -0.4f, 1);
  playsound(0, -1, 1, 1, 0);
  static int16_t out[soundblockframes * 2 * 3];
  mixsound(out, soundblockframes * 3);
  stopallsounds();
  return 0;
}
