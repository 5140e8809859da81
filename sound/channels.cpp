// The channel calls: each change to the table the audio callback mixes is made under the audio
// lock and takes a few instructions; gains are worked out before the lock is taken.
#include "sound/soundmix.h"

#include <SDL.h>
#include <algorithm>

mixerchannel soundchannel[maxsoundchannels];

static float mastervolume = 1;

// value inside low to high; not-a-number counts as low, so no gain is ever made from it
static float within(float value, float low, float high)
{
  return value > low ? std::min(value, high) : low;
}

void workgains(const mixerchannel &channel, int32_t gain[2])
{
  const float level = channel.volume * mastervolume * (1 << gainshift);
  gain[0] = int32_t(level * std::min(1.0f, 1 - channel.balance));
  gain[1] = int32_t(level * std::min(1.0f, 1 + channel.balance));
}

static bool ischannel(int channel)
{
  return channel >= 0 && channel < maxsoundchannels;
}

static int freechannel()
{
  for (int channel = 0; channel < maxsoundchannels; ++channel)
    if (!soundchannel[channel].playing)
      return channel;
  return -1;
}

int playsound(int slot, int channel, float volume, float balance, int loop)
{
  // a slot of less than a frame, made by hand, would have the mixer loop on nothing
  if (!sounddevice.on || slot < 0 || slot >= maxsounds || !sound[slot].samples ||
      sound[slot].length < soundframebytes || (channel != -1 && !ischannel(channel)))
    return -1;
  mixerchannel started{};
  started.playing = 1;
  started.loop = loop != 0;
  started.slot = slot;
  started.samples = sound[slot].samples;
  started.frames = sound[slot].length / soundframebytes;
  started.volume = within(volume, 0, 1);
  started.balance = within(balance, -1, 1);
  workgains(started, started.gain);
  SDL_LockAudio();
  if (channel == -1)
    channel = freechannel();
  if (channel != -1)
    soundchannel[channel] = started;
  SDL_UnlockAudio();
  return channel;
}

void stopchannelsof(int slot)
{
  for (mixerchannel &channel : soundchannel)
    if (channel.slot == slot)
      channel.playing = 0;
}

void stopsound(int channel)
{
  if (!ischannel(channel))
    return;
  SDL_LockAudio();
  soundchannel[channel].playing = 0;
  SDL_UnlockAudio();
}

void stopallsounds()
{
  SDL_LockAudio();
  for (mixerchannel &channel : soundchannel)
    channel.playing = 0;
  SDL_UnlockAudio();
}

void setsoundvolume(float master)
{
  mastervolume = within(master, 0, 1);
  int32_t gain[maxsoundchannels][2];  // volume and balance are written by this thread alone
  for (int channel = 0; channel < maxsoundchannels; ++channel)
    workgains(soundchannel[channel], gain[channel]);
  SDL_LockAudio();
  for (int channel = 0; channel < maxsoundchannels; ++channel)
    std::copy_n(gain[channel], 2, soundchannel[channel].gain);
  SDL_UnlockAudio();
  changegains(musicchannel);
}

int soundplaying(int channel)
{
  if (!ischannel(channel))
    return 0;
  SDL_LockAudio();
  const int playing = soundchannel[channel].playing;
  SDL_UnlockAudio();
  return playing;
}

// volume and balance are written by this thread alone
void changegains(mixerchannel &channel)
{
  int32_t gain[2];
  workgains(channel, gain);
  SDL_LockAudio();
  std::copy_n(gain, 2, channel.gain);
  SDL_UnlockAudio();
}

void setchannelvolume(int channel, float volume)
{
  if (!ischannel(channel))
    return;
  soundchannel[channel].volume = within(volume, 0, 1);
  changegains(soundchannel[channel]);
}

void setchannelbalance(int channel, float balance)
{
  if (!ischannel(channel))
    return;
  soundchannel[channel].balance = within(balance, -1, 1);
  changegains(soundchannel[channel]);
}

// the next play on a channel clears its pause
void pausechannel(mixerchannel &channel, int32_t reasons)
{
  SDL_LockAudio();
  channel.paused |= reasons;
  SDL_UnlockAudio();
}

void resumechannel(mixerchannel &channel, int32_t reasons)
{
  SDL_LockAudio();
  channel.paused &= ~reasons;
  SDL_UnlockAudio();
}

void pausesound(int channel)
{
  if (ischannel(channel))
    pausechannel(soundchannel[channel], pausedalone);
}

void resumesound(int channel)
{
  if (ischannel(channel))
    resumechannel(soundchannel[channel], pausedalone | pausedwithall);
}

// every channel and the music in the same block: the audio lock may be taken again by the thread
// that holds it. What was paused alone before the pause of all stays paused after it
static void pauseall(void (*change)(mixerchannel &, int32_t))
{
  SDL_LockAudio();
  for (mixerchannel &channel : soundchannel)
    change(channel, pausedwithall);
  change(musicchannel, pausedwithall);
  SDL_UnlockAudio();
}

void pauseallsounds() { pauseall(pausechannel); }

void resumeallsounds() { pauseall(resumechannel); }

void fadechannel(mixerchannel &channel, float seconds)
{
  // not-a-number stops at once too; with sound off the rate is 0, and so is the fade
  const double frames = seconds > 0 ? std::min(double(seconds) * sounddevice.rate, 4e9) : 0;
  SDL_LockAudio();
  if (frames < 1) {
    channel.playing = 0;
  } else {
    if (channel.fadeframes) {  // a second fade goes down from the level the first has reached
      channel.volume *= float(channel.fadeleft) / float(channel.fadeframes);
      workgains(channel, channel.gain);
    }
    channel.fadeframes = channel.fadeleft = uint32_t(frames);
  }
  SDL_UnlockAudio();
}

void fadeoutsound(int channel, float seconds)
{
  if (ischannel(channel))
    fadechannel(soundchannel[channel], seconds);
}
