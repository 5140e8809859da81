// Arena: the start-up (the command line, the player's own options, the window as the player set
// it up in Tavrel Setup), the frame loop with its pause menu, and the quit, which fades out.
#include "arena.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

char playername[playernamesize] = "Player";
int32_t difficulty = 1;
int32_t musicon = 1;
int32_t firekey = key_space;
int32_t bestscore;

namespace {

const char help[] =
    "Arena, the Tavrel engine's example game: steer a ship about a walled arena and shoot the\n"
    "saw blades that drift in it. A blade that touches the ship takes one of its three lives.\n"
    "Keys: arrows or W A S D steer, Space fires, Escape opens the menu (music, difficulty,\n"
    "your name, quit); a gamepad's left stick or d-pad steers, its bottom face button\n"
    "(Xbox A, PlayStation cross) fires and its start button opens the menu; the arrows, Tab\n"
    "and Return work the menu, and so does the pad.\n"
    "It starts as Tavrel Setup stored the player's choices in hwconfig.cfg, and keeps its own\n"
    "options in options.txt (key.fire names the fire key by its code), both in GAME_FOLDER, in\n"
    "~/.local/share/arena with --player-folder, else in the working directory.\n";

constexpr const char *optionsfile = "options.txt";
const gameoption options[] = {
    textoption("name", playername),       integeroption("difficulty", &difficulty),
    integeroption("music", &musicon),     integeroption("key.fire", &firekey),
    integeroption("best", &bestscore)};

constexpr int framespersecond = 60;    // plenty for the game; the rest of the machine is left free
constexpr float longestframe = 0.05f;  // a longer frame (a stall, a focus change) moves this far

// options.txt is the player's to edit: a value out of range goes back to one the game can use
void loadoptions()
{
  loadgameoptions(optionsfile, options);
  difficulty = std::clamp(difficulty, 0, 2);
  musicon = musicon != 0;
  if (firekey <= key_none || firekey >= keycount)
    firekey = key_space;
}

void runframe()
{
  const int32_t waspaused = paused;
  buildpausemenu();
  if (!beginframe())
    return;  // no window to draw in: skip the frame
  const bool quitting = quitleft >= 0;
  // Escape is no command of the game's while a text field has the keyboard (the Escape that ends
  // the typing is the field's) nor when the menu took it (its back item, Resume)
  const bool escape = keypressed(key_escape) && !prevmenuinputkeyboard && !menutookinput;
  const bool start = padpressed(0, padstart);
  if (!quitting && (escape || start)) {
    paused = !paused;
    endmenuinput();  // a name being typed is done with: the menu opens again on its items
  }
  if (waspaused && !paused)
    saveoptions();  // the menu closed: keep what was changed in it
  if (!quitting)
    followmusic();
  const float seconds = std::min(frametime, longestframe);
  if (quitting)
    quitleft = std::max(0.0f, quitleft - seconds);
  else if (!paused)
    play(seconds);
  drawarena();
  drawinterface();
  if (paused)
    drawpausemenu();
  else
    numofmenuitems = 0;  // a menu closed in this frame shows no more
  if (quitting)
    drawrectangle(0, 0, 640, 480, 0, 0, 0, 1 - quitleft / quitseconds);
  endframe(paused);  // the pointer only over the menu
}

}  // namespace

void saveoptions()
{
  if (const int error = savegameoptions(optionsfile, options))
    fprintf(stderr, "arena: cannot save %s: %s\n", optionsfile, strerror(error));
}

int main(int argc, char **argv)
{
  const int status = readgamearguments(argc, argv, "arena", "1.0", help);
  if (status >= 0)
    return status;  // --help, --version, or an argument it could not take
  loadoptions();
  if (!setupgame("Arena")) {
    fprintf(stderr, "arena: %s\n", setupfailure());
    return 1;
  }
  framecap = framespersecond;
  menunavigation = navigatekeys | navigatepad;  // the pause menu without a mouse, too
  menustatemarks = 1;  // a box before the music toggle, a diamond before each difficulty
  loadsprites();
  loadsounds();
  startgame();
  while (!windowinfo.quit && quitleft != 0)
    runframe();
  saveoptions();
  shutdownengine();
  return 0;
}
