// The command line every program on the engine shares: --help, --version, the game folder to
// work in, and the player's own folder that a desktop menu's start asks for.
#include "startup/startup.h"

#include "files/files.h"
#include "files/messages.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

// on standard output when asked for, as a message after a wrong argument
static void printusage(const char *name, bool asked)
{
  const char *usage = "usage: %s [GAME_FOLDER | --player-folder | --help | --version]";
  if (asked) {
    printf(usage, name);
    putchar('\n');
  } else {
    reportmessage(usage, name);
  }
}

static bool is(const char *argument, const char *option)
{
  return strcmp(argument, option) == 0;
}

// the game's files are read and written where it keeps them, so that is where the program works
static int enterfolder(const char *name, const char *folder)
{
  if (chdir(folder) != 0) {
    reportmessage("%s: cannot open the folder %s: %s", name, folder, strerror(errno));
    return 1;
  }
  return -1;
}

// the game's name in the XDG data home: $XDG_DATA_HOME, or ~/.local/share where that is unset,
// empty or relative; null, or why there is none
static const char *playerfolderpath(char *path, size_t size)
{
  const char *datahome = getenv("XDG_DATA_HOME");
  const char *home = getenv("HOME");
  int length;
  if (datahome && datahome[0] == '/')
    length = snprintf(path, size, "%s/%s", datahome, gamename);
  else if (!home || !home[0])
    return "HOME is not set";
  else if (home[0] != '/')
    return "HOME is not an absolute folder";  // it would name a folder under wherever it started
  else
    length = snprintf(path, size, "%s/.local/share/%s", home, gamename);
  return length > 0 && size_t(length) < size ? nullptr : "its name is too long";
}

// makes the folder and the parents it lacks, each readable by its owner alone, as the XDG data
// home asks; 0, or the errno of the first folder that could not be made
static int makefolders(char *path)
{
  for (char *slash = strchr(path + 1, '/');; slash = strchr(slash + 1, '/')) {
    if (slash)
      *slash = '\0';
    const int made = mkdir(path, 0700);
    const int error = errno;
    if (slash)
      *slash = '/';
    if (made != 0 && error != EEXIST)
      return error;
    if (!slash)
      return 0;
  }
}

// a program started from a desktop menu starts in the home folder: it works in the player's own
// folder instead, so that the set-up utility and the game find the same hwconfig.cfg
static int enterplayerfolder(const char *name)
{
  char path[PATH_MAX];
  if (const char *why = playerfolderpath(path, sizeof path)) {
    reportmessage("%s: cannot find the player's folder: %s", name, why);
    return 1;
  }
  if (int error = makefolders(path)) {
    reportmessage("%s: cannot make the folder %s: %s", name, path, strerror(error));
    return 1;
  }
  return enterfolder(name, path);
}

const char *engineversion()
{
  return TAVREL_VERSION;
}

// the command line of a program named name, whose folders are named by gamename
static int readarguments(int argc, char **argv, const char *name, const char *version,
                         const char *help)
{
  if (argc < 2)
    return -1;
  const char *first = argv[1];
  if (argc == 2 && (is(first, "--help") || is(first, "-h"))) {
    printusage(name, true);
    if (help)
      fputs(help, stdout);
    return 0;
  }
  if (argc == 2 && is(first, "--version")) {
    printf("%s %s\n", name, version ? version : engineversion());
    return 0;
  }
  if (argc == 2 && is(first, "--player-folder"))
    return enterplayerfolder(name);
  if (argc > 2 || first[0] == '-') {
    reportmessage("%s: unexpected argument '%s'", name, argc > 2 ? argv[2] : first);
    printusage(name, false);
    return 2;
  }
  return enterfolder(name, first);
}

int readprogramarguments(int argc, char **argv, const char *name, const char *help)
{
  return readarguments(argc, argv, name, engineversion(), help);
}

int readgamearguments(int argc, char **argv, const char *name, const char *version,
                      const char *help)
{
  setgamename(name);
  return readarguments(argc, argv, name, version, help);
}
