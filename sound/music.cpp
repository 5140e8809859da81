// Music: the ring between the decoder and the mixer, and the calls on music playing, which reach
// the file's decoder only through what playmusic (musicfile.cpp) put in place, so that a program
// that never plays music links no Vorbis decoder. The decoder runs on a thread of its own
// (decoderthread.cpp) or, where the platform has no threads, from the frame (decoderframe.cpp).
#include "sound/soundmix.h"

#include <SDL.h>
#include <algorithm>

musicring musicbuffer;
mixerchannel musicchannel;
int (*musicdecoder)() = nullptr;
std::atomic<const char *> musictrouble{nullptr};
float musicvolume = 1;

void stopmusic()
{
  SDL_LockAudio();
  musicchannel.playing = 0;
  SDL_UnlockAudio();
  joindecoder(true);
  if (musicdecoder) {  // the file a decoder never had, or left open
    musicbuffer.ended = 1;
    musicdecoder();
  }
}

void setmusicvolume(float volume)
{
  musicvolume = volume > 0 ? std::min(volume, 1.0f) : 0;
  musicchannel.volume = musicvolume;
  changegains(musicchannel);
}

void pausemusic() { pausechannel(musicchannel, pausedalone); }

void resumemusic() { resumechannel(musicchannel, pausedalone | pausedwithall); }

void fadeoutmusic(float seconds)
{
  fadechannel(musicchannel, seconds);
  if (!musicplaying())  // stopped at once: so are its decoder and file
    stopmusic();
}

int musicplaying()
{
  SDL_LockAudio();
  const int playing = musicchannel.playing;
  SDL_UnlockAudio();
  if (!playing)
    joindecoder(false);
  return playing;
}

const char *musicerror() { return musictrouble.load(); }
