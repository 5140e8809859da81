// The command line every program on the engine shares: --help, --version, and the game folder to
// work in.
#include "startup/startup.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

static void printusage(FILE *to, const char *name)
{
  fprintf(to, "usage: %s [GAME_FOLDER | --help | --version]\n", name);
}

static bool is(const char *argument, const char *option)
{
  return strcmp(argument, option) == 0;
}

int readprogramarguments(int argc, char **argv, const char *name, const char *help)
{
  if (argc < 2)
    return -1;
  const char *first = argv[1];
  if (argc == 2 && (is(first, "--help") || is(first, "-h"))) {
    printusage(stdout, name);
    if (help)
      fputs(help, stdout);
    return 0;
  }
  if (argc == 2 && is(first, "--version")) {
    printf("%s %s\n", name, TAVREL_VERSION);
    return 0;
  }
  if (argc > 2 || first[0] == '-') {
    fprintf(stderr, "%s: unexpected argument '%s'\n", name, argc > 2 ? argv[2] : first);
    printusage(stderr, name);
    return 2;
  }
  // the game's files are read and written where it keeps them, so that is where the program works
  if (chdir(first) != 0) {
    fprintf(stderr, "%s: cannot open the folder %s: %s\n", name, first, strerror(errno));
    return 1;
  }
  return -1;
}
