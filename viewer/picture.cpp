// The picture: the chosen file loaded the way the game loads it, and the caption that says what
// was loaded, or why not, and which screenshot was written.
#include "viewer.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

int32_t lowdetail;
int32_t dimmed;
char picturename[filenamesize];
int32_t picturelow;

static char outcome[64];      // "loaded NAME" or "cannot load NAME"
static char details[96];      // its size and format, or why it was refused
static char screenshotnote[48];

int pictureslotinuse()
{
  return dimmed ? dimmedbmpslot : pictureslot;
}

// the game finds BMPs and PNGs only in "texture", so one listed in "texturelow" is named in
// full; empty when the game folder cannot be named
static std::string lowpath(const char *name)
{
  char folder[4096];
  if (!getcwd(folder, sizeof folder))
    return "";
  return std::string(folder) + "/" + lowtexturefolder + "/" + name;
}

static void refused(const char *name, const char *reason)
{
  snprintf(outcome, sizeof outcome, "cannot load %s", name);
  snprintf(details, sizeof details, picturename[0] ? "%s; the picture before stays" : "%s",
           reason);
}

// the file as the game loads it, into the slot in use; null when it was accepted, else why not
static const char *loadimage(const char *name, int low)
{
  const int slot = pictureslotinuse();
  if (hasextension(name, ".tga")) {
    loadtexturetga(slot, name, 1, low);
    return textureloaderror();
  }
  const std::string path = low ? lowpath(name) : name;
  if (path.empty())
    return "cannot name the game folder";
  (hasextension(name, ".png") ? loadtexturepng : loadtexturebmp)(slot, path.c_str(), 1);
  return textureloaderror();
}

void loadpicture(const char *name, int low)
{
  char chosen[filenamesize];
  snprintf(chosen, sizeof chosen, "%s", name);  // name may be picturename itself
  if (const char *reason = loadimage(chosen, low)) {
    refused(chosen, reason);
    return;
  }
  memcpy(picturename, chosen, sizeof picturename);
  picturelow = low;
  const textureslot &loaded = texture[pictureslotinuse()];
  snprintf(outcome, sizeof outcome, "loaded %s", chosen);
  snprintf(details, sizeof details, "%dx%d, %s, mipmapped, in slot %d", loaded.width,
           loaded.height, textureloadformat(), pictureslotinuse());
}

void notescreenshot(int written)
{
  if (written)
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
