// The inside of the sound room: the device's format, the channel table that the audio callback
// mixes, and the steps the slot and channel calls share. The mixer can be called directly, so
// that tests, the fuzz target and the benchmark run it without a device. Internal to sound/.
#pragma once

#include "files/files.h"
#include "sound/sound.h"

#include <cstddef>
#include <cstdint>

constexpr int soundrate = 44100;        // the rate asked of the device; it may offer another
constexpr int soundblockframes = 1024;  // frames the device asks for at a time, as asked
constexpr int soundframebytes = 4;      // a frame: a signed 16-bit left sample, then right

struct sounddevicestate {
  int32_t on;    // loads and plays are taken: the device is open (or a test mixes by hand)
  int32_t rate;  // the frames a second that the device plays and that slots are converted to
};
extern sounddevicestate sounddevice;

// [SECTION] channels
constexpr int gainshift = 16;  // a gain of 1 << gainshift passes a sample unchanged

struct mixerchannel {
  int32_t playing;
  int32_t loop;
  int32_t slot;
  const int16_t *samples;  // the slot's samples as they were when the channel started
  uint32_t frames;
  uint32_t position;       // the next frame to mix
  float volume;            // as asked, to work the gains out again when the master volume changes
  float balance;
  int32_t gain[2];         // left and right: volume x balance x master, worked out by the caller
  int32_t paused;          // mixed no further until resumed
  uint32_t fadeframes;     // the length of a fade under way, 0 when there is none
  uint32_t fadeleft;       // frames of the fade still to mix: the gains are scaled by their share
};
// written by the main thread only between SDL_LockAudio and SDL_UnlockAudio; the audio callback
// advances the channels and ends those played once or faded out
extern mixerchannel soundchannel[maxsoundchannels];

// stops every channel that plays slot; the caller holds the audio lock
void stopchannelsof(int slot);
// mixes frames frames of the playing channels, summed wide and clamped once, into out (left and
// right interleaved) and moves the channels on; allocates nothing and takes no lock
void mixsound(int16_t *out, int frames);

// [SECTION] WAV files
// frames of a sound of frames frames at rate from once it is at rate to: at least 1
uint64_t resampledframes(uint32_t frames, int from, int to);
// frames left and right 16-bit frames at rate from into resampledframes of them at rate to
void resample(const int16_t *in, uint32_t frames, int from, int to, int16_t *out);
// the samples of a WAV file, read from the file or memory, converted to the device's format, in a
// new block that decoded takes; null when accepted, else why not
const char *decodewav(bytesource &source, soundslot &decoded);
