// Rate conversion of 16-bit stereo frames by straight lines between neighbouring frames. SDL 1.2's
// converter changes a rate only by powers of two and leaves any other ratio as it is, which would
// play a 48 kHz file 9% fast on a 44.1 kHz device, so the room converts rates itself.
#include "sound/soundmix.h"

#include <algorithm>

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
    const int64_t fraction = int64_t(position & 0xFFFFFFFFu);
    for (int side = 0; side < 2; ++side) {
      const int64_t a = in[2 * at + side], b = in[2 * next + side];
      out[2 * i + side] = int16_t(a + ((b - a) * fraction >> 32));
    }
  }
}
