// The sound device: opened only when sound is on, fed by the mixer from SDL's audio thread, and
// closed with every slot freed.
#include "sound/soundmix.h"

#include "files/messages.h"

#include <SDL.h>
#include <cerrno>
#include <cstdlib>

sounddevicestate sounddevice;

static bool deviceopen = false;

static void SDLCALL fillaudio(void *, Uint8 *stream, int length)
{
  mixsound(reinterpret_cast<int16_t *>(stream), length / soundframebytes);
}

static SDL_AudioSpec askedformat()
{
  SDL_AudioSpec spec{};
  spec.freq = soundrate;
  spec.format = AUDIO_S16SYS;
  spec.channels = 2;
  spec.samples = soundblockframes;
  spec.callback = fillaudio;
  return spec;
}

// the device's own rate is taken as it is, since slots are converted to it once at load; a device
// that wants other samples than 16-bit stereo is opened again at its own rate to be fed the
// mixer's, which SDL then converts on the way out: only their format and channels, since SDL 1.2
// changes a rate rightly only by doubling or halving it
static int opendevice(int &rate)
{
  SDL_AudioSpec asked = askedformat(), obtained;
  if (SDL_OpenAudio(&asked, &obtained) != 0)
    return 0;
  rate = obtained.freq;
  if (obtained.format == AUDIO_S16SYS && obtained.channels == 2)
    return 1;
  SDL_CloseAudio();
  asked = askedformat();
  asked.freq = rate;
  return SDL_OpenAudio(&asked, nullptr) == 0;
}

int setupsound(int enabled)
{
  if (!enabled) {
    shutdownsound();
    return 0;
  }
  if (deviceopen)
    return 1;
  int rate = 0;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || !opendevice(rate)) {
    reportmessage("%s: cannot open the sound device: %s", program_invocation_short_name,
                  SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return 0;
  }
  deviceopen = true;
  sounddevice = {1, rate};
  SDL_PauseAudio(0);
  return 1;
}

void shutdownsound()
{
  stopmusic();
  if (deviceopen) {
    SDL_CloseAudio();  // waits for the callback, which never runs again
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    deviceopen = false;
  }
  sounddevice = {};
  for (mixerchannel &channel : soundchannel)
    channel.playing = 0;
  for (soundslot &slot : sound) {
    free(slot.samples);
    slot = {};
  }
}
