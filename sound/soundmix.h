// The inside of the sound room: the device's format, the channel table that the audio callback
// mixes, and the steps the slot and channel calls share. The mixer can be called directly, so
// that tests, the fuzz target and the benchmark run it without a device. Internal to sound/.
#pragma once

#include "files/files.h"
#include "sound/sound.h"

#include <atomic>
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
// why a channel is paused: by its own call, or with every other by pauseallsounds; resuming it
// by its own call clears both, resumeallsounds only the second
constexpr int32_t pausedalone = 1, pausedwithall = 2;

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
  int32_t paused;          // mixed no further while it has a reason: pausedalone, pausedwithall
  uint32_t fadeframes;     // the length of a fade under way, 0 when there is none
  uint32_t fadeleft;       // frames of the fade still to mix: the gains are scaled by their share
};
// written by the main thread only between SDL_LockAudio and SDL_UnlockAudio; the audio callback
// advances the channels and ends those played once or faded out
extern mixerchannel soundchannel[maxsoundchannels];

// stops every channel that plays slot; the caller holds the audio lock
void stopchannelsof(int slot);
// the left and right gains of a channel's volume and balance at the master volume
void workgains(const mixerchannel &channel, int32_t gain[2]);
// the steps of the channel calls, on any channel, the music's too: each takes the audio lock
void changegains(mixerchannel &channel);
void pausechannel(mixerchannel &channel, int32_t reasons);
void resumechannel(mixerchannel &channel, int32_t reasons);
void fadechannel(mixerchannel &channel, float seconds);
// mixes frames frames of the playing channels, summed wide and clamped once, into out (left and
// right interleaved) and moves the channels on; allocates nothing and takes no lock
void mixsound(int16_t *out, int frames);

// [SECTION] music
constexpr uint32_t musicringframes = 32768;  // frames between the decoder and the mixer: 0.7 s

// single producer, single consumer: the decoder writes frames and then moves written on, the
// audio callback mixes them and then moves read on; neither waits for the other
struct musicring {
  int16_t samples[musicringframes * 2];
  std::atomic<uint32_t> written;  // frames put in since the music started, counting past the size
  std::atomic<uint32_t> read;     // frames taken out
  std::atomic<int32_t> complete;  // the decoder has put in its last frame
  std::atomic<int32_t> ended;     // the mixer or the main thread has ended the music: the
                                  // decoder leaves
};
extern musicring musicbuffer;
// plays the ring round and round, as far as written allows; it stops once the ring is drained
// after its last frame, or its fade is over, and then sets ended. Written by the main thread under
// the audio lock, as the other channels
extern mixerchannel musicchannel;
extern float musicvolume;  // as setmusicvolume left it, for the next music too
// why the music was refused or ended early, as musicerror gives it
extern std::atomic<const char *> musictrouble;
// the decoder of the music's file, which playmusic puts in place: it tops the ring up and gives 1
// while there is more to decode; once the last frame is in or the music has ended it closes the
// file, sets complete, takes itself away and gives 0. Null while no file is open
extern int (*musicdecoder)();

// [SECTION] the decoder's turn: a thread of its own (decoderthread.cpp) or, where the platform
// has no threads, the frame (decoderframe.cpp, feedmusic); the build compiles one of the two
// has musicdecoder called until it gives 0; 1 when under way
int startdecoder();
// ends the decoder's turn once it has left (with wait, first sets ended and waits for it to leave)
void joindecoder(bool wait);

// [SECTION] WAV and Ogg Vorbis files
// frames of a sound of frames frames at rate from once it is at rate to: at least 1
uint64_t resampledframes(uint32_t frames, int from, int to);
// frames left and right 16-bit frames at rate from into resampledframes of them at rate to
void resample(const int16_t *in, uint32_t frames, int from, int to, int16_t *out);
// the frames of a sound at rate fit a slot, at that rate and at the device's
bool slotfits(uint64_t frames, int rate);
// stereo frames at rate, whose block it takes, brought to the device's rate in a block of their
// own size that decoded takes; null when done, else why not
const char *todevicerate(soundslot stereo, int rate, soundslot &decoded);

// a stream converted a piece at a time: each piece goes on from the last frame of the one before
struct streamresampler {
  uint64_t step;      // input frames an output frame, 32 bits of them fraction
  uint64_t position;  // of the next output frame, from the frame carried over
  int16_t last[2];    // the last frame of the piece before
  uint32_t carried;   // 1 once there is one
};
void startresample(streamresampler &stream, int from, int to);
// frames frames of in into out: the frames written, at most frames x to / from + 1
uint32_t resamplepiece(streamresampler &stream, const int16_t *in, uint32_t frames, int16_t *out);

// the samples of a WAV or Ogg Vorbis file, read from the file or memory, converted to the
// device's format, in a new block that decoded takes; null when accepted, else why not
const char *decodewav(bytesource &source, soundslot &decoded);
const char *decodeogg(bytesource &source, soundslot &decoded);

// an Ogg Vorbis stream being decoded from source, which must outlive it
struct oggstream;
// null, with refusal saying why, when source is no mono or stereo Vorbis at a rate a slot takes
oggstream *openogg(bytesource &source, const char *&refusal);
void closeogg(oggstream *ogg);
int oggrate(const oggstream *ogg);
// frames of the whole stream, as its last page gives them; negative when unknown
int64_t oggframes(oggstream *ogg);
// back to the first frame: 1 when done
int rewindogg(oggstream *ogg);
// the next stereo frames, at most frames of them, into out (room for frames stereo frames): how
// many, 0 at the end, -1 with refusal set when the data is damaged
long readogg(oggstream *ogg, int16_t *out, uint32_t frames, const char *&refusal);
