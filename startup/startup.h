// Start-up: what ties every room of the engine together. The window opened and every part readied
// in the one order that works, the shutdown, the frame's fixed order, and the command line the
// engine's programs share.
#pragma once

// [SECTION] command line
// handles a program's arguments: --help or -h prints "usage: NAME [GAME_FOLDER |
// --player-folder | --help | --version]" and help, --version prints the engine's version, one
// GAME_FOLDER argument is entered, so that the program reads and writes its files there, and
// --player-folder enters $XDG_DATA_HOME/tavrel (else ~/.local/share/tavrel), made when missing;
// -1 when the program should go on, else its exit status: 0 after help or version, 1 for a
// folder that cannot be made or entered, 2 for any other argument (the usage then follows the
// complaint as a message)
int readprogramarguments(int argc, char **argv, const char *name, const char *help);
// the same for a game of its own: --version prints name and version (the engine's when version
// is null), the usage line names it, and name names the game's folders (setgamename): the
// player's folder is $XDG_DATA_HOME/name (else ~/.local/share/name), and the data folders
// searched include share/games/name
int readgamearguments(int argc, char **argv, const char *name, const char *version,
                      const char *help);
// the engine's version, "MAJOR.MINOR.PATCH", as the library linked was built
const char *engineversion();

// [SECTION] engine start-up and shutdown
constexpr const char *iconfilename = "tvr.bmp";  // the window icon, found like the font

// opens the window and readies the engine, in the one order that works: the platform,
// windowinfo (graphics on, focus held), the blank pointer, caption, icon, input grab, GL
// attributes, the video mode, a GL name for every texture slot, the pointer at the centre, the
// font into slot 511, the menus' key labels and activity; 1 when the window is open, 0 when not
// (the platform is shut down again and setupfailure says why). Over SDL2 a window that is not
// full screen shows larger on a large screen, by windowscaling, unless the player set
// SDL12COMPAT_WINDOW_SCALING; the program still draws and points in width x height
int setupengine(const char *caption, int width, int height, int fullscreen);
// the whole factor by which SDL 1.2 over SDL2 shows a fixed window of width x height on a screen
// of screenwidth x screenheight: the largest that fills at most two thirds of either side, and 1
// at least (640x480: 3 on 3840x2160, 2 on 2560x1440, 1 on 1920x1080)
int windowscaling(int screenwidth, int screenheight, int width, int height);
// starts a game as its player chose in the set-up utility: reads "hwconfig.cfg" in the working
// directory (loadconfig), then opens the window as setupengine does, but never shown larger, at
// the stored width and the height the set-up utility settles for it (a width none of its four
// keeps the stored height), full screen when stored; holds the mouse unless "Mouse Unlocked" (mouselocked), opens the
// joystick into joy1 when it is on, and has the loaders take the low-detail set when it is
// stored (lowtexturedetail), and opens the sound device only when "Sound" is on (setupsound). A
// size no window can have, or one the platform refuses, gives one message line and a
// 640x480 window instead. 1 when the window is open, 0 when not (setupfailure says why)
int setupgame(const char *caption);
// why the last setupengine failed, in a line fit for standard error
const char *setupfailure();
// closes the sound device and the joystick, iconifies the window and shuts the platform down
void shutdownengine();

// [SECTION] frame
// a frame's start, once this frame's menu items are built: feedmusic, checksystemmessages, then
// checkkeyboard, checkmouse, checkjoystick and checkmenuitems (which keeps prevmenuinputkeyboard);
// 1 when the program draws this frame, 0 when there is no window to draw in: skip the frame
int beginframe();
// a frame's end over what the program drew: setuptextdisplay, drawmenuitems, the pointer in white
// when pointer is non-zero, a screenshot of it all when shot is non-zero, then swapbuffers; 1 when
// the screenshot asked for was written, else 0
int endframe(int pointer, int shot = 0);
