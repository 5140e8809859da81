// The one set-up screen: twelve items in fixed slots, the "Resolution" heading, and the three
// bars that edit the interface text colour.
#include "setupscreen.h"

#include "engine.h"

int32_t textcolor;

namespace {

enum itemkind { plainitem, radioitem, toggleitem };

struct screenitem {
  const char *caption;
  int x, y;
  itemkind kind;
  int32_t *variable;
  int setvalue;  // what a radio item stores
  int hotkey;
};

// slot order is identity: an item keeps its activity only because it keeps its slot;
// digit and letter keys are their ASCII codes
const screenitem items[] = {
    {"Done", 4, 4, plainitem, nullptr, 0, key_escape},
    {"1. 640x480", 4, 128, radioitem, &config.width, 640, '1'},
    {"2. 800x600", 4, 144, radioitem, &config.width, 800, '2'},
    {"3. 1024x768", 4, 160, radioitem, &config.width, 1024, '3'},
    {"4. 1280x960", 4, 176, radioitem, &config.width, 1280, '4'},
    {"Fullscreen", 4, 208, toggleitem, &config.fullscreen, 0, 'f'},
    {"Mouse Unlocked", 4, 240, toggleitem, &config.mouseunlocked, 0, 'm'},
    {"Sound", 4, 272, toggleitem, &config.sound, 0, 's'},
    {"Interface", 4, 304, toggleitem, &config.interface, 0, 'i'},
    {"Text", 4, 336, toggleitem, &textcolor, 0, 't'},
    {"Color", 80, 336, toggleitem, &textcolor, 0, key_none},
    {"Low Texture Detail", 4, 368, toggleitem, &config.lowtexture, 0, key_none},
};
constexpr int colouritem = 10;  // drawn in the colour it edits

void createscreenitem(int slot)
{
  const screenitem &item = items[slot];
  if (slot == colouritem)
    createmenuitem(item.caption, item.x, item.y, 16, config.textred, config.textgreen,
                   config.textblue);
  else
    createmenuitem(item.caption, item.x, item.y, 16, 1.0f, 1.0f, 1.0f);
  if (item.kind == radioitem)
    setmenuradio(item.variable, item.setvalue);
  if (item.kind == toggleitem)
    setmenutoggle(item.variable);
  if (item.hotkey != key_none)
    setmenuitem(optionhotkey, item.hotkey);
}

void layouteditbars()
{
  numofeditbars = 0;
  for (int channel = 0; channel < 3; ++channel) {
    editbarrecord &bar = editbar[numofeditbars++];
    bar.x = 288;
    bar.y = 32 + 64 * channel;
    bar.width = 256;
    bar.height = 32;
    bar.red = channel == 0 ? 1.0f : 0.0f;
    bar.green = channel == 1 ? 1.0f : 0.0f;
    bar.blue = channel == 2 ? 1.0f : 0.0f;
  }
}

}  // namespace

void buildsetupscreen()
{
  numofmenuitems = 0;
  for (int slot = 0; slot < int(sizeof items / sizeof items[0]); ++slot)
    createscreenitem(slot);
  // the bars keep their last layout while hidden, so showing them again is immediate
  if (textcolor)
    layouteditbars();
}

void bindeditbars()
{
  editbar[0].value = &config.textred;
  editbar[1].value = &config.textgreen;
  editbar[2].value = &config.textblue;
}

void drawsetupheading()
{
  drawtext("Resolution", 0, 96, 16, 1.0f, 1.0f, 1.0f, 1.0f);
}
