// Fuzz target: any bytes as an Ogg Vorbis file, loaded whole from memory into a slot for a 44.1 kHz
// device (none is opened) and mixed for a few blocks, then decoded a piece at a time and converted
// to 48 kHz as the music is, round twice.
#include "engine.h"
#include "sound/soundmix.h"

#include <cstddef>
#include <cstdint>

// the file streamed as the music's decoder streams it, going back to its start once
static void stream(const uint8_t *data, size_t size)
{
  bytesource source(data, size);
  const char *refusal = nullptr;
  oggstream *ogg = openogg(source, refusal);
  if (!ogg)
    return;
  constexpr int to = 48000;
  constexpr uint32_t piece = 1024 * minsoundrate / to;  // converted to at most 1025 frames
  streamresampler rate;
  startresample(rate, oggrate(ogg), to);
  static int16_t decoded[piece * 2], converted[1025 * 2];
  for (int round = 0; round < 2 && rewindogg(ogg); ++round)
    for (long got; (got = readogg(ogg, decoded, piece, refusal)) > 0;)
      resamplepiece(rate, decoded, uint32_t(got), converted);
  closeogg(ogg);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  sounddevice = {1, soundrate};
  stream(data, size);
  if (!loadsoundbytes(0, data, size))
    return 0;
  playsound(0, -1, 0.7f, -0.4f, 1);
  static int16_t out[soundblockframes * 2 * 3];
  mixsound(out, soundblockframes * 3);
  stopallsounds();
  return 0;
}
