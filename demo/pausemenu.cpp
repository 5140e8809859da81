// The pause menu, made of the engine's menu items in the interface colour: Resume, the player's
// name in a text field, and two toggles, over the world dimmed and stopped.
#include "demo.h"

int32_t paused;
int32_t invertmouse;
int32_t showframerate;
char playername[menuinputsize] = "Player";

namespace {

constexpr int menux = 96;

void resume()
{
  paused = 0;
}

void createitem(const char *caption, int y, int hotkey)
{
  createmenuitem(caption, menux, y, 16, config.textred, config.textgreen, config.textblue);
  setmenuitem(optionhotkey, hotkey);
}

}  // namespace

void buildpausemenu()
{
  numofmenuitems = 0;
  if (!paused)
    return;
  createitem("Resume", 176, key_r);
  setmenuclick(resume);
  // the caption is the field's width: a name of up to 25 characters
  createitem("Your name (N, Return ends)", 216, key_n);
  setmenutextfield(playername, sizeof playername);
  createitem("Invert mouse look", 272, key_i);
  setmenutoggle(&invertmouse);
  createitem("Show frame rate", 304, key_f);
  setmenutoggle(&showframerate);
}

void drawpausemenu()
{
  drawrectangle(0, 0, 640, 480, 0, 0, 0, 0.6f);
  drawtext("Paused", 320 | aligncentre, 120, 24, config.textred, config.textgreen,
           config.textblue, 1.0f);
  drawtext("Tab: back to the game   P: screenshot   Escape: quit", 320 | aligncentre, 464, 8,
           config.textred, config.textgreen, config.textblue, 1.0f);
}
