// The mixer: every playing channel that is not paused, and the music, summed into a wide buffer
// with their gains, then clamped once to 16 bits, so that loud sounds together saturate instead
// of wrapping round.
#include "sound/soundmix.h"

#include <algorithm>

constexpr int mixframes = soundblockframes;  // frames summed at a time; longer blocks go in pieces

// a side's gain on the next frame of a fade: down along a straight line to zero at its end
static int32_t fadedgain(int32_t gain, const mixerchannel &channel)
{
  return int32_t(int64_t(gain) * channel.fadeleft / channel.fadeframes);
}

// adds the channel's next frames to wide, starting a loop over or ending a sound played once;
// a fade works its gains out again for every frame and stops the channel when it is over. The
// frames taken from the channel
static int addchannel(mixerchannel &channel, int32_t *wide, int frames)
{
  const int asked = frames;
  while (frames > 0 && channel.playing && !channel.paused) {
    uint32_t run = std::min(uint32_t(frames), channel.frames - channel.position);
    int32_t left = channel.gain[0], right = channel.gain[1];
    if (channel.fadeframes) {
      run = 1;
      left = fadedgain(left, channel);
      right = fadedgain(right, channel);
    }
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
    if (channel.fadeframes && --channel.fadeleft == 0)
      channel.playing = 0;
  }
  return asked - frames;
}

// the music's frames that the decoder has put in the ring, as far as frames goes; the music ends
// once the ring is drained after the last of them, or its fade is over
static void addmusic(int32_t *wide, int frames)
{
  if (!musicchannel.playing)  // then playmusic may be setting the ring up
    return;
  // complete first: once it is seen, written is seen as the decoder left it
  const bool complete = musicbuffer.complete.load(std::memory_order_acquire);
  const uint32_t read = musicbuffer.read.load(std::memory_order_relaxed);
  const uint32_t ready = musicbuffer.written.load(std::memory_order_acquire) - read;
  if (!ready && complete)
    musicchannel.playing = 0;
  const int taken = addchannel(musicchannel, wide, int(std::min(uint32_t(frames), ready)));
  musicbuffer.read.store(read + uint32_t(taken), std::memory_order_release);
  if (!musicchannel.playing)  // drained or faded out: the decoder need wait no longer
    musicbuffer.ended.store(1, std::memory_order_relaxed);
}

void mixsound(int16_t *out, int frames)
{
  int32_t wide[mixframes * 2];
  while (frames > 0) {
    const int piece = std::min(frames, mixframes);
    std::fill_n(wide, piece * 2, 0);
    for (mixerchannel &channel : soundchannel)
      addchannel(channel, wide, piece);
    addmusic(wide, piece);
    for (int i = 0; i < piece * 2; ++i)
      out[i] = int16_t(std::clamp(wide[i], int32_t(INT16_MIN), int32_t(INT16_MAX)));
    out += piece * 2;
    frames -= piece;
  }
}
