// The viewer's file list: the images of the texture folder, filtered by a part of their name,
// with a highlight moved by keys and a window of rows scrolled by the wheel.
#include "viewer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

filenameslot listedfiles[maxlistedfiles + 1];
int32_t numoflistedfiles;
int32_t numofimagesinfolder;
int32_t shownfile[maxlistedfiles];
int32_t numofshownfiles;
int32_t highlightedfile;
int32_t firstshownrow;

static int firstrowslot;  // the menu slot of the list's top row this frame

bool hasextension(const char *name, const char *extension)
{
  const size_t length = strlen(name), extensionlength = strlen(extension);
  return length > extensionlength &&
         strcasecmp(name + length - extensionlength, extension) == 0;
}

static bool isimage(const char *name)
{
  return hasextension(name, ".bmp") || hasextension(name, ".tga") || hasextension(name, ".png");
}

void listimages(const char *folder)
{
  // the engine's wildcards let more than the extension through, so the names are picked here,
  // before the table's capacity counts
  numofimagesinfolder = listfolder(folder, "*", listedfiles, 0, maxlistedfiles + 1, isimage);
  numoflistedfiles = std::min(int(numofimagesinfolder), maxlistedfiles);
  highlightedfile = 0;
  firstshownrow = 0;
  numofshownfiles = 0;
}

// the top row follows the highlight when a key moves it out of sight
static void keephighlightinview()
{
  firstshownrow = std::clamp(int(firstshownrow), highlightedfile - listrows + 1,
                             int(highlightedfile));
}

static void clampscroll()
{
  highlightedfile = std::clamp(int(highlightedfile), 0, std::max(0, numofshownfiles - 1));
  firstshownrow = std::clamp(int(firstshownrow), 0, std::max(0, numofshownfiles - listrows));
}

void filterimages(const char *filter)
{
  static char lastfilter[menuinputsize];
  numofshownfiles = 0;
  for (int i = 0; i < numoflistedfiles; ++i)
    if (strcasestr(listedfiles[i], filter))
      shownfile[numofshownfiles++] = i;
  if (strcmp(filter, lastfilter) != 0) {
    snprintf(lastfilter, sizeof lastfilter, "%s", filter);
    highlightedfile = 0;  // a new filter starts again from its first match
    firstshownrow = 0;
  }
  clampscroll();
}

void highlightname(const char *name)
{
  for (int shown = 0; shown < numofshownfiles; ++shown)
    if (strcmp(listedfiles[shownfile[shown]], name) == 0) {
      highlightedfile = shown;
      keephighlightinview();
    }
}

const char *highlightedname()
{
  return numofshownfiles > 0 ? listedfiles[shownfile[highlightedfile]] : "";
}

void createfilerows(void (*choose)())
{
  firstrowslot = menuitemsinuse();
  const int rows = std::min(listrows, numofshownfiles - firstshownrow);
  for (int row = 0; row < rows; ++row) {
    const int shown = firstshownrow + row;
    const float blue = shown == highlightedfile ? 0.0f : 1.0f;  // the highlight is yellow
    createmenuitem(listedfiles[shownfile[shown]], listx, listy + row * listrowstep, listsize, 1.0f,
                   1.0f, blue);
    setmenuclick(choose);
  }
}

int clickedfile()
{
  highlightedfile = firstshownrow + currentmenuitem - firstrowslot;
  return shownfile[highlightedfile];
}

void checklistkeys()
{
  static const struct {
    int key, step;
  } moves[] = {{key_down, 1}, {key_up, -1}, {key_pagedown, listrows}, {key_pageup, -listrows},
               {key_end, maxlistedfiles}, {key_home, -maxlistedfiles}};
  for (const auto &move : moves)
    if (keypressed(move.key)) {
      highlightedfile += move.step;
      clampscroll();
      keephighlightinview();
    }
  constexpr int wheelstep = 3;  // rows a notch scrolls
  firstshownrow -= wheelstep * mousewheel;
  clampscroll();
}
