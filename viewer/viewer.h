// Tavrel Viewer: a game folder's textures seen exactly as the engine loads them, flat at 1:1 and
// on a turning floor where the mipmaps show. This header ties its few parts together.
#pragma once

#include "engine.h"

// [SECTION] layout, in the virtual 640x480 screen
constexpr int listx = 4, listy = 64, listsize = 8, listrowstep = 10;
constexpr int listrows = 36;  // file rows that fit between the filter and the caption
constexpr int flatx = 264, flaty = 28, flatwidth = 372, flatheight = 232;
constexpr int turningx = 264, turningy = 268, turningwidth = 372, turningheight = 160;
constexpr int captionx = 4, captiony = 436;

// [SECTION] file list
constexpr int maxlistedfiles = 1024;
extern filenameslot listedfiles[maxlistedfiles + 1];  // the folder's images, sorted; end mark
extern int32_t numoflistedfiles;
extern int32_t numofimagesinfolder;  // more than are listed when the table is too small
extern int32_t shownfile[maxlistedfiles];  // the listed files the filter lets through
extern int32_t numofshownfiles;
extern int32_t highlightedfile;  // in shownfile: the one Return loads
extern int32_t firstshownrow;    // in shownfile: the one on the list's top row

// whether name ends in extension, in any case
bool hasextension(const char *name, const char *extension);
// the ".bmp" and ".tga" files of folder, sorted, the highlight back at the top
void listimages(const char *folder);
// puts the highlight on the shown file of that name, when there is one
void highlightname(const char *name);
// keeps the listed files whose name holds filter, in any case
void filterimages(const char *filter);
// one menu item a visible row, each running choose when clicked; the first row's slot is kept
void createfilerows(void (*choose)());
// the listed file of the row whose callback is running
int clickedfile();
// arrows, Page Up and Down, Home and End move the highlight; the wheel scrolls
void checklistkeys();
// the name of the highlighted file; empty when nothing is shown
const char *highlightedname();

// [SECTION] picture
constexpr int pictureslot = 1;       // where images load, unless dimmed
constexpr int checkerboardslot = 70; // drawn unfiltered, also after a focus change
extern int32_t lowdetail;  // the list shows "texturelow", whose TGAs load as the low-detail set
extern int32_t dimmed;     // images load into slot 16, where BMPs get half alpha
extern char picturename[filenamesize];  // the file shown; empty before the first
extern int32_t picturelow;              // it came from "texturelow"

// the slot the next image loads into
int pictureslotinuse();
// loads a file of "texture" (low: "texturelow") as the game does, with mipmaps, and says in the
// caption how it went; a refused file leaves the picture shown before
void loadpicture(const char *name, int low);
// says in the caption which numbered screenshot of the frame was written, or that none could be
void notescreenshot(int written);
// the caption under the list: the file, its size and format or why it was refused
void drawcaption();

// [SECTION] views
// the grey checkerboard behind pictures with alpha, once at start-up
void setupcheckerboard();
// the picture at 1:1 (smaller when it does not fit) over the checkerboard, orthographic
void drawflatview();
// the picture on a floor turning slowly in perspective, its far side drawn from small mipmaps
void drawturningview();
