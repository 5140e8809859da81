// Sound: WAV and Ogg Vorbis files in a table of slots, each converted once to the sound device's
// format, and a mixer of a few channels that plays them, once or looping, with a volume and a
// balance that may change while they play, paused, resumed or faded out; and music streamed from
// an Ogg Vorbis file beside them.
#pragma once

#include <cstddef>
#include <cstdint>

// [SECTION] the device
// opens the sound device when enabled is non-zero (the stored "Sound" choice) and starts it; 1
// when it is open. Disabled it opens nothing, shuts down a device opened before (as shutdownsound
// does) and returns 0; a device that cannot be opened gives one message line and 0.
// Without a device every other sound call does nothing: loads are refused, plays take no channel
int setupsound(int enabled);
// stops every channel, closes the device and frees every slot; safe when nothing was opened
void shutdownsound();

// [SECTION] sound slots
constexpr int maxsounds = 256;
constexpr int64_t maxsoundfilebytes = int64_t(64) << 20;  // the largest file a loader takes
// the most a slot's samples may take while they are converted: about six minutes of a
// 44.1 kHz stereo device
constexpr size_t maxsoundbytes = size_t(64) << 20;
constexpr int minsoundrate = 4000;    // the sample rates a WAV file may have, in frames a second
constexpr int maxsoundrate = 192000;
constexpr const char *soundfolder = "sound";  // where loadsound finds its files

struct soundslot {
  int16_t *samples;  // left and right 16-bit samples at the device's rate, owned by the slot;
                     // null when the slot is empty
  uint32_t length;   // bytes of samples, four a frame
};
extern soundslot sound[maxsounds];

// a WAV file (8- or 16-bit PCM, mono or stereo) or an Ogg Vorbis file (mono or stereo) in memory,
// told apart by their first bytes, converted to the device's format into
// slot; 1 when it was accepted. A refused file leaves the slot as it was. Channels playing the
// slot's old samples stop
int loadsoundbytes(int slot, const unsigned char *bytes, size_t count);
// name inside the "sound" folder (or as given when there is no such folder), then as above
int loadsound(int slot, const char *name);
// empties a slot, stopping the channels that play it
void freesound(int slot);
// why the last load was refused, in a few lower-case words ("sound is off", "not a WAV file");
// null once a load has been accepted
const char *soundloaderror();

// [SECTION] channels
constexpr int maxsoundchannels = 16;

// plays slot on channel, or on the first free channel when channel is -1, from its start: volume
// 0 to 1, balance -1 (left only) to 1 (right only) with 0 full on both sides, again and again
// while loop is non-zero. A channel that was playing starts over with it. The channel taken, or
// -1 when none is free, the slot is empty or sound is off
int playsound(int slot, int channel, float volume, float balance, int loop);
// stops a channel at once
void stopsound(int channel);
void stopallsounds();
// scales every channel, those playing and those to come, by master (0 to 1; 1 at start)
void setsoundvolume(float master);
// 1 while the channel plays, paused or not; a sound played once ends by itself
int soundplaying(int channel);
// changes the volume (0 to 1) or balance (-1 to 1) of a playing channel from its next block on
void setchannelvolume(int channel, float volume);
void setchannelbalance(int channel, float balance);
// holds a playing channel where it is, silent, keeping it taken, until it is resumed
void pausesound(int channel);
// plays a paused channel on from the frame where it stopped, whichever call paused it
void resumesound(int channel);
// pauses every channel and the music, for a pause menu; a sound or music started after it plays
void pauseallsounds();
// resumes what pauseallsounds paused: a channel or music paused by its own call before stays paused
void resumeallsounds();
// lowers a playing channel to silence along a straight line over seconds, then stops it; a fade
// already under way goes on from where it is; 0 or less stops the channel at once
void fadeoutsound(int channel, float seconds);

// [SECTION] music
// streams the Ogg Vorbis file name (found as loadsound finds it) from its start, again and again
// while loop is non-zero, in place of the music playing; 1 when it plays, 0 when refused
// (musicerror says why). It is decoded a little ahead on a thread of its own, which ends and
// closes the file once the last frame is decoded or the music has ended; where the platform has
// no threads (the web), a piece at a time from the frame by feedmusic
int playmusic(const char *name, int loop);
// where the platform has no threads, decodes the music the device will want before the next
// frame; beginframe calls it, and a program with a frame loop of its own calls it once a frame.
// Elsewhere it does nothing
void feedmusic();
// stops the music at once and closes its file
void stopmusic();
// the music's volume, 0 to 1 (1 at start), scaled by the master volume, kept for the next music
void setmusicvolume(float volume);
// hold the music where it is, silent, and play it on from there (resumemusic whichever call
// paused it)
void pausemusic();
void resumemusic();
// lowers the music to silence along a straight line over seconds, then stops it
void fadeoutmusic(float seconds);
// 1 while music plays, paused or not; it ends by itself at the end of a piece played once, and
// early when its file turns out damaged or cannot be read
int musicplaying();
// why the last playmusic was refused, or why the music ended before its end; null otherwise
const char *musicerror();
