// The demo's sounds: the game folder's "sound/music.ogg" looping from the start where it has one,
// else a calm chord, and a chime for every gem, from the game folder's "sound" first, else those
// installed with the engine's data; the music or chord lowered while the game is paused. With
// "Sound" off they are never loaded and never played: every sound call does nothing then.
#include "demo.h"

namespace {

enum soundslots { ambientslot, gemslot };

constexpr float ambientvolume = 0.6f;
constexpr float pausedshare = 0.3f;  // of the music's or chord's volume, under the pause menu

int ambientchannel = -1;  // the chord's, while it plays in place of music
bool lowered;

void loaddemosound(int slot, const char *name)
{
  filebytes installed;
  if (!loadsound(slot, name) && readdatafile(name, installed))
    loadsoundbytes(slot, installed.data, installed.size);
}

}  // namespace

void setupsounds()
{
  loaddemosound(gemslot, "gem.wav");
  if (playmusic(musicfilename, 1))
    return;
  loaddemosound(ambientslot, "ambient.wav");
  ambientchannel = playsound(ambientslot, -1, ambientvolume, 0, 1);
}

void quietenunderpause(bool paused)
{
  if (paused == lowered)
    return;
  lowered = paused;
  const float share = paused ? pausedshare : 1;
  setmusicvolume(share);
  if (ambientchannel >= 0)
    setchannelvolume(ambientchannel, ambientvolume * share);
}

void playchime()
{
  playsound(gemslot, -1, 1, 0, 0);
}
