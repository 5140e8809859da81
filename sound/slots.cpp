// The sound slots: files or bytes handed to the WAV or Ogg Vorbis decoder, and the decoded samples
// put in their slot under the audio lock, once no channel plays the samples they replace.
#include "files/files.h"
#include "sound/soundmix.h"

#include <SDL.h>
#include <cstdlib>
#include <cstring>

soundslot sound[maxsounds];

static const char *loadrefusal = nullptr;  // why the last load was refused

const char *soundloaderror()
{
  return loadrefusal;
}

static int refuse(const char *reason)
{
  loadrefusal = reason;
  return 0;
}

// why slot cannot be loaded at all; null when it can
static const char *cannotload(int slot)
{
  if (!sounddevice.on)
    return "sound is off";
  if (slot < 0 || slot >= maxsounds)
    return "slot outside 0 to 255";
  return nullptr;
}

// the old samples are freed outside the lock, which the audio callback waits on
static void installsound(int slot, soundslot samples)
{
  SDL_LockAudio();
  stopchannelsof(slot);
  const soundslot old = sound[slot];
  sound[slot] = samples;
  SDL_UnlockAudio();
  free(old.samples);
}

// decodes the WAV or Ogg Vorbis file in source into slot
static int loadsoundfrom(int slot, bytesource &source)
{
  unsigned char start[4] = {};
  source.readat(0, start, sizeof start);
  const bool ogg = memcmp(start, "OggS", sizeof start) == 0;
  soundslot decoded{};
  if (const char *refusal = ogg ? decodeogg(source, decoded) : decodewav(source, decoded))
    return refuse(refusal);
  installsound(slot, decoded);
  loadrefusal = nullptr;
  return 1;
}

int loadsoundbytes(int slot, const unsigned char *bytes, size_t count)
{
  if (const char *refusal = cannotload(slot))
    return refuse(refusal);
  bytesource memory(bytes, count);
  return loadsoundfrom(slot, memory);
}

int loadsound(int slot, const char *name)
{
  if (const char *refusal = cannotload(slot))
    return refuse(refusal);
  bytesource file;
  // one byte past the limit, so that a larger file is refused rather than cut short
  if (!openfolderfile(soundfolder, name, file, maxsoundfilebytes + 1))
    return refuse("cannot open the file");
  return loadsoundfrom(slot, file);
}

void freesound(int slot)
{
  if (slot >= 0 && slot < maxsounds)
    installsound(slot, {});
}
