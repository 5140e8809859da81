// The demo's sounds: a calm chord looping from the start and a chime for every gem, from the game
// folder's "sound" first, else those installed with the engine's data. With "Sound" off they are
// never loaded and never played: every sound call does nothing then.
#include "demo.h"

namespace {

enum soundslots { ambientslot, gemslot };

void loaddemosound(int slot, const char *name)
{
  filebytes installed;
  if (!loadsound(slot, name) && readdatafile(name, installed))
    loadsoundbytes(slot, installed.data, installed.size);
}

}  // namespace

void setupsounds()
{
  loaddemosound(ambientslot, "ambient.wav");
  loaddemosound(gemslot, "gem.wav");
  playsound(ambientslot, -1, 0.6f, 0, 1);
}

void playchime()
{
  playsound(gemslot, -1, 1, 0, 0);
}
