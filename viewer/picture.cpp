// The picture: the chosen file loaded the way the game loads it, and the caption that says what
// was loaded, or why not, and which screenshot was written.
#include "viewer.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>
#include <unistd.h>

int32_t lowdetail;
int32_t dimmed;
char picturename[filenamesize];

static char outcome[64];      // "loaded NAME" or "cannot load NAME"
static char details[96];      // its size and format, or the loader's reason
static char screenshotnote[48];

int pictureslotinuse()
{
  return dimmed ? dimmedbmpslot : pictureslot;
}

static bool istga(const char *name)
{
  const size_t length = strlen(name);
  return length > 4 && strcasecmp(name + length - 4, ".tga") == 0;
}

// the game finds BMPs only in "texture", so one listed in "texturelow" is named in full
static void loadbmp(int slot, const char *name)
{
  if (!lowdetail) {
    loadtexturebmp(slot, name, 1);
    return;
  }
  char folder[4096];
  const std::string path = std::string(getcwd(folder, sizeof folder) ? folder : ".") + "/" +
                           lowtexturefolder + "/" + name;
  loadtexturebmp(slot, path.c_str(), 1);
}

void loadpicture(const char *name)
{
  const int slot = pictureslotinuse();
  snprintf(picturename, sizeof picturename, "%s", name);
  if (istga(name))
    loadtexturetga(slot, name, 1, lowdetail);
  else
    loadbmp(slot, name);
  if (const char *reason = textureloaderror()) {
    snprintf(outcome, sizeof outcome, "cannot load %s", name);
    snprintf(details, sizeof details, "%s; the picture shown is the one before", reason);
    return;
  }
  snprintf(outcome, sizeof outcome, "loaded %s", name);
  snprintf(details, sizeof details, "%dx%d, %s, mipmapped, in slot %d", texture[slot].width,
           texture[slot].height, textureloadformat(), slot);
}

void takescreenshot()
{
  if (screenshot())
    snprintf(screenshotnote, sizeof screenshotnote, "wrote %s", screenshotname);
  else
    snprintf(screenshotnote, sizeof screenshotnote, "cannot write a screenshot here");
}

void drawcaption()
{
  if (!outcome[0])
    drawtext("choose a file", captionx, captiony, 16, 0.75f, 0.75f, 0.75f, 1.0f);
  drawtext("/s", captionx, captiony, 16, 1.0f, 1.0f, 1.0f, 1.0f, outcome);
  drawtext("/s", captionx, captiony + 20, 8, 0.75f, 0.75f, 0.75f, 1.0f, details);
  drawtext("/s", captionx, captiony + 32, 8, 0.5f, 1.0f, 0.5f, 1.0f, screenshotnote);
}
