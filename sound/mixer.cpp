// The mixer: every playing channel summed into a wide buffer with its gains, then clamped once to
// 16 bits, so that loud sounds together saturate instead of wrapping round.
#include "sound/soundmix.h"

#include <algorithm>

constexpr int mixframes = soundblockframes;  // frames summed at a time; longer blocks go in pieces

// adds the channel's next frames to wide, starting a loop over or ending a sound played once
static void addchannel(mixerchannel &channel, int32_t *wide, int frames)
{
  const int32_t left = channel.gain[0], right = channel.gain[1];
  while (frames > 0 && channel.playing) {
    const uint32_t run = std::min(uint32_t(frames), channel.frames - channel.position);
    const int16_t *in = channel.samples + size_t(channel.position) * 2;
    for (uint32_t i = 0; i < run; ++i) {
      wide[2 * i] += in[2 * i] * left >> gainshift;
      wide[2 * i + 1] += in[2 * i + 1] * right >> gainshift;
    }
    wide += 2 * run;
    frames -= int(run);
    channel.position += run;
    if (channel.position == channel.frames) {
      channel.position = 0;
      channel.playing = channel.loop;
    }
  }
}

void mixsound(int16_t *out, int frames)
{
  int32_t wide[mixframes * 2];
  while (frames > 0) {
    const int piece = std::min(frames, mixframes);
    std::fill_n(wide, piece * 2, 0);
    for (mixerchannel &channel : soundchannel)
      addchannel(channel, wide, piece);
    for (int i = 0; i < piece * 2; ++i)
      out[i] = int16_t(std::clamp(wide[i], int32_t(INT16_MIN), int32_t(INT16_MAX)));
    out += piece * 2;
    frames -= piece;
  }
}
