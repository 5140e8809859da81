// Rate conversion of 16-bit stereo frames by straight lines between neighbouring frames, of a
// whole sound or of a stream a piece at a time. SDL 1.2's converter changes a rate only by powers
// of two and leaves any other ratio as it is, which would play a 48 kHz file 9% fast on a
// 44.1 kHz device, so the room converts rates itself.
#include "sound/soundmix.h"

#include <algorithm>
#include <cstdlib>

// the sample a fraction (32 bits of position) of the way from a to b
static int16_t between(int64_t a, int64_t b, uint64_t position)
{
  return int16_t(a + ((b - a) * int64_t(position & 0xFFFFFFFFu) >> 32));
}

uint64_t resampledframes(uint32_t frames, int from, int to)
{
  return std::max<uint64_t>(1, uint64_t(frames) * uint32_t(to) / uint32_t(from));
}

void resample(const int16_t *in, uint32_t frames, int from, int to, int16_t *out)
{
  const uint64_t step = (uint64_t(from) << 32) / uint32_t(to);  // input frames an output frame
  const uint64_t count = resampledframes(frames, from, to);
  uint64_t position = 0;  // in input frames, 32 bits of them fraction
  for (uint64_t i = 0; i < count; ++i, position += step) {
    const uint32_t at = uint32_t(position >> 32), next = std::min(at + 1, frames - 1);
    for (int side = 0; side < 2; ++side)
      out[2 * i + side] = between(in[2 * at + side], in[2 * next + side], position);
  }
}

bool slotfits(uint64_t frames, int rate)
{
  const uint64_t atdevice = frames > UINT32_MAX ? frames : resampledframes(uint32_t(frames), rate,
                                                                           sounddevice.rate);
  return std::max(frames, atdevice) <= maxsoundbytes / soundframebytes;
}

const char *todevicerate(soundslot stereo, int rate, soundslot &decoded)
{
  if (rate == sounddevice.rate) {
    void *fitted = realloc(stereo.samples, stereo.length);  // a decoder may work in a larger block
    decoded = {fitted ? static_cast<int16_t *>(fitted) : stereo.samples, stereo.length};
    return nullptr;
  }
  const uint32_t frames = stereo.length / soundframebytes;
  const uint64_t bytes = resampledframes(frames, rate, sounddevice.rate) * soundframebytes;
  decoded.samples = static_cast<int16_t *>(malloc(size_t(bytes)));
  if (decoded.samples) {
    resample(stereo.samples, frames, rate, sounddevice.rate, decoded.samples);
    decoded.length = uint32_t(bytes);
  }
  free(stereo.samples);
  return decoded.samples ? nullptr : "out of memory";
}

void startresample(streamresampler &stream, int from, int to)
{
  stream = {(uint64_t(from) << 32) / uint32_t(to), 0, {0, 0}, 0};
}

uint32_t resamplepiece(streamresampler &stream, const int16_t *in, uint32_t frames, int16_t *out)
{
  if (!frames)
    return 0;
  // frame j of the piece with the last frame of the piece before in front of it
  const uint32_t first = stream.carried, count = frames + first;
  auto sample = [&](uint32_t j, int side) -> int64_t {
    return j < first ? stream.last[side] : in[2 * (j - first) + side];
  };
  uint32_t written = 0;
  for (; (stream.position >> 32) + 1 < count; stream.position += stream.step, ++written) {
    const uint32_t at = uint32_t(stream.position >> 32);
    for (int side = 0; side < 2; ++side)
      out[2 * written + side] = between(sample(at, side), sample(at + 1, side), stream.position);
  }
  stream.position -= uint64_t(count - 1) << 32;
  stream.last[0] = in[2 * (frames - 1)];
  stream.last[1] = in[2 * (frames - 1) + 1];
  stream.carried = 1;
  return written;
}
