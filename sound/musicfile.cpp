// Music from an Ogg Vorbis file: opened by playmusic, decoded a piece at a time a little ahead of
// the device into the ring that the mixer reads, and closed once the last frame is decoded or the
// music has ended. Only playmusic reaches this file, and through it the Vorbis decoder.
#include "sound/soundmix.h"

#include <SDL.h>
#include <algorithm>

namespace {

constexpr uint32_t pieceframes = 1024;  // frames decoded at a time, at the file's rate at most

// a plain pointer, which nothing destroys at exit: a program that ends with music playing and
// without shutdownsound has the decoder still reading the file while the static destructors run.
// The file is the decoder's from its start, and it closes it; the main thread's before and after
bytesource *musicfile = nullptr;
oggstream *musicogg = nullptr;
int32_t looping = 0;
streamresampler musicrate;  // the decoder's alone while it runs
uint32_t sincerewind = 0;   // frames decoded since the file's start, likewise

void pushframes(const int16_t *frames, uint32_t count)
{
  const uint32_t written = musicbuffer.written.load(std::memory_order_relaxed);
  const uint32_t at = written % musicringframes, first = std::min(count, musicringframes - at);
  std::copy_n(frames, 2 * first, musicbuffer.samples + 2 * at);
  std::copy_n(frames + 2 * first, 2 * (count - first), musicbuffer.samples);
  musicbuffer.written.store(written + count, std::memory_order_release);
}

uint32_t ringroom()
{
  return musicringframes - (musicbuffer.written.load(std::memory_order_relaxed) -
                            musicbuffer.read.load(std::memory_order_acquire));
}

// decodes and converts the next piece into the ring: 0 at the end of music played once, or of
// damaged data; a loop starts over at the first frame
int decodepiece()
{
  static int16_t decoded[pieceframes * 2], converted[(2 * pieceframes + 2) * 2];
  const int from = oggrate(musicogg);
  const uint32_t frames =
      std::max<uint32_t>(1, pieceframes * uint32_t(from) / uint32_t(sounddevice.rate));
  const char *refusal = nullptr;
  const long got = readogg(musicogg, decoded, std::min(frames, pieceframes), refusal);
  if (got < 0 || (got == 0 && looping && !sincerewind)) {
    musictrouble.store(got < 0 ? refusal : "no samples in the file");
    return 0;
  }
  if (got == 0) {
    sincerewind = 0;
    if (!looping)
      return 0;
    if (!rewindogg(musicogg)) {
      musictrouble.store(musicfile->failed ? "cannot read the file"
                                           : "cannot go back to the start of the file");
      return 0;
    }
    return 1;
  }
  sincerewind += uint32_t(got);
  pushframes(converted, resamplepiece(musicrate, decoded, uint32_t(got), converted));
  return 1;
}

void closemusicfile()
{
  closeogg(musicogg);
  musicogg = nullptr;
  delete musicfile;
  musicfile = nullptr;
  musicdecoder = nullptr;
}

// the decoder put in place: the ring topped up until the last frame is in, or the music has ended
int fillring()
{
  while (!musicbuffer.ended.load(std::memory_order_relaxed)) {
    if (ringroom() < 2 * pieceframes + 2)
      return 1;
    if (!decodepiece())
      break;
  }
  closemusicfile();
  musicbuffer.complete.store(1, std::memory_order_release);
  return 0;
}

int refusemusic(const char *reason)
{
  musictrouble.store(reason);
  return 0;
}

// the ring emptied and half filled from the file's start: 1 while there is more to decode.
// Decoded ahead so that the mixer never starts on a ring the decoder is only beginning to fill
int primering()
{
  startresample(musicrate, oggrate(musicogg), sounddevice.rate);
  sincerewind = 0;
  musicbuffer.written = musicbuffer.read = 0;  // neither the mixer nor a decoder is at the ring
  musicbuffer.ended = 0;
  musictrouble.store(nullptr);
  int more = 1;
  while (more && ringroom() > musicringframes / 2)
    more = decodepiece();
  musicbuffer.complete = !more;
  return more;
}

// the ring's frames as far as the decoder has put them in, round and round
mixerchannel ringchannel()
{
  mixerchannel ring{};
  ring.playing = ring.loop = 1;
  ring.samples = musicbuffer.samples;
  ring.frames = musicringframes;
  ring.volume = musicvolume;
  workgains(ring, ring.gain);
  return ring;
}

}  // namespace

int playmusic(const char *name, int loop)
{
  if (!sounddevice.on)
    return refusemusic("sound is off");
  stopmusic();
  musicfile = new bytesource;
  musicdecoder = fillring;  // from here on a stop closes the file
  const char *refusal = nullptr;
  if (!openfolderfile(soundfolder, name, *musicfile, -1))  // any size: it is never read whole
    refusal = "cannot open the file";
  else
    musicogg = openogg(*musicfile, refusal);
  if (!musicogg) {
    stopmusic();  // closes the file
    return refusemusic(refusal);
  }
  looping = loop != 0;
  const int more = primering();
  const int started = more && startdecoder();
  if (musictrouble.load() || (more && !started)) {  // damaged from the start, or no decoder
    refusal = more && !started ? "cannot start the decoder" : musictrouble.load();
    stopmusic();
    return refusemusic(refusal);
  }
  if (!more)
    closemusicfile();  // all of it is in the ring
  const mixerchannel ring = ringchannel();
  SDL_LockAudio();
  musicchannel = ring;
  SDL_UnlockAudio();
  return 1;
}
