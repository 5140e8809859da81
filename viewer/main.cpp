// Tavrel Viewer: start-up in the game folder, the frame loop, and the menu of the one screen.
#include "viewer.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstring>

namespace {

const char help[] =
    "Tavrel Viewer: see the textures of a game folder (GAME_FOLDER, the player's folder with\n"
    "--player-folder, or the working directory) as the engine loads them: BMPs, TGAs and\n"
    "PNGs from its \"texture\" folder, or from \"texturelow\", with their mipmaps, flat at 1:1\n"
    "and on a turning floor. Screenshots (scsht000.bmp onward) are written into the game\n"
    "folder. Names of 32 characters or more are not listed.\n"
    "\n"
    "Keys:\n"
    "  F             type a filter: a part of the names to list; Escape ends the typing, and\n"
    "                Return ends it and loads the first file left\n"
    "  Up, Down      move the highlight; Page Up, Page Down, Home and End move it further\n"
    "  Return        load the highlighted file (a click on a name loads it too)\n"
    "  mouse wheel   scroll the list\n"
    "  L             list \"texturelow\" instead of \"texture\"\n"
    "  D             load into slot 16, where BMPs get half alpha\n"
    "  P             take a screenshot\n"
    "  F12           let the mouse go and minimise the window\n"
    "  Escape        quit\n"
    "\n"
    "Options:\n"
    "  GAME_FOLDER      the game folder to look into instead of the working directory\n"
    "  --player-folder  work in the player's own folder, $XDG_DATA_HOME/tavrel\n"
    "                   (~/.local/share/tavrel by default), made when missing: where\n"
    "                   menu starts keep their folder\n"
    "  -h, --help       show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Exit status: 0 after Escape or the window's close button; 1 when the window or\n"
    "GAME_FOLDER or the player's folder could not be opened; 2 for an argument it does not\n"
    "know.\n";

enum fixedslot { quitslot, lowdetailslot, dimmedslot, screenshotslot, filterslot };

char filter[menuinputsize];  // what the filter field holds
bool screenshotasked;
// what the last frame saw, to follow changes by
int32_t prevlowdetail = -1, prevdimmed, prevactive = 1;

void askforscreenshot()
{
  screenshotasked = true;
}

void choosefile()
{
  loadpicture(listedfiles[clickedfile()], lowdetail);
}

const char *listedfolder()
{
  return lowdetail ? lowtexturefolder : texturefolder;
}

// the fixed items in their slots, then a row for every visible file
void buildmenu()
{
  numofmenuitems = 0;
  createmenuitem("Quit", 4, 4, 16, 1, 1, 1);
  setmenuitem(optionhotkey, key_escape);
  createmenuitem("Low detail", 84, 4, 16, 1, 1, 1);
  setmenutoggle(&lowdetail);
  setmenuitem(optionhotkey, 'l');
  createmenuitem("Dimmed", 260, 4, 16, 1, 1, 1);
  setmenutoggle(&dimmed);
  setmenuitem(optionhotkey, 'd');
  createmenuitem("Screenshot", 372, 4, 16, 1, 1, 1);
  setmenuclick(askforscreenshot);
  setmenuitem(optionhotkey, 'p');
  createmenuitem("Filter by a part of the name", 4, 28, 8, 1, 1, 1);
  setmenutextfield(filter, sizeof filter);
  setmenuitem(optionhotkey, 'f');
  createfilerows(choosefile);
}

// the list follows the folder toggle, and is read again, the highlight kept, when the player
// comes back to the window, perhaps from the editor that changed the files; the picture moves
// to the slot the dimmed toggle asks for
void followchanges()
{
  const bool otherfolder = prevlowdetail != lowdetail;
  const bool relist = otherfolder || (windowinfo.active && !prevactive);
  char highlighted[filenamesize];
  snprintf(highlighted, sizeof highlighted, "%s", highlightedname());
  if (relist)
    listimages(listedfolder());
  filterimages(filter);
  if (relist && !otherfolder)
    highlightname(highlighted);
  if (prevdimmed != dimmed && picturename[0])
    loadpicture(picturename, picturelow);
  prevlowdetail = lowdetail;
  prevdimmed = dimmed;
  prevactive = windowinfo.active;
}

// while the filter is typed into, its keys are its own; the Return that ends it also loads the
// first file left
void checkkeys(bool typing)
{
  if (!typing)
    checklistkeys();
  if (keypressed(key_return) && numofshownfiles > 0)
    loadpicture(highlightedname(), lowdetail);
}

// a folder with more images than the list holds says so: those that sort last are missing
void drawlistheading()
{
  const char *heading = numofimagesinfolder > numoflistedfiles
                            ? "/s: /i of /i images, /i in the folder"
                            : "/s: /i of /i images";
  drawtext(heading, listx, listy - 12, 8, 0.5f, 0.75f, 1.0f, 1.0f, listedfolder(), numofshownfiles,
           numoflistedfiles, numofimagesinfolder);
}

void runframe()
{
  buildmenu();
  if (!beginframe())
    return;  // the window could not be set up again after a focus change
  followchanges();
  checkkeys(prevmenuinputkeyboard);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  drawflatview();
  drawturningview();
  setuptextdisplay();
  drawlistheading();
  drawcaption();
  const int written = endframe(1, screenshotasked);
  if (screenshotasked)
    notescreenshot(written);
  screenshotasked = false;
}

}  // namespace

int main(int argc, char **argv)
{
  // the loaders look in the game folder's "texture", so the game folder is where the viewer works
  const int status = readprogramarguments(argc, argv, "tavrel-viewer", help);
  if (status >= 0)
    return status;
  loadconfig();  // the game's texture detail decides which folder comes first
  lowdetail = config.lowtexture & 1;
  if (!setupengine("Tavrel Viewer", 640, 480, 0)) {
    fprintf(stderr, "tavrel-viewer: %s\n", setupfailure());
    return 1;
  }
  setupcheckerboard();
  while (!menuitem[quitslot].active && !windowinfo.quit)
    runframe();
  shutdownengine();
  return windowinfo.graphics ? 0 : 1;
}
