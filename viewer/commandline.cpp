// The viewer's command line: an optional game folder, --help and --version.
#include "viewer.h"

#include <cstdio>
#include <cstring>

static const char usage[] = "usage: tavrel-viewer [FOLDER | --help | --version]\n";

static const char help[] =
    "Tavrel Viewer: see the textures of a game folder (FOLDER, or the working directory) as the\n"
    "engine loads them: BMPs and TGAs from its \"texture\" folder, or from \"texturelow\", with\n"
    "their mipmaps, flat at 1:1 and on a turning floor. Screenshots (scsht000.bmp onward) are\n"
    "written into the game folder. Names of 32 characters or more are not listed.\n"
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
    "  Escape        quit\n";

static bool is(const char *argument, const char *option)
{
  return strcmp(argument, option) == 0;
}

int readcommandline(int argc, char **argv, const char *&folder)
{
  folder = nullptr;
  if (argc < 2)
    return -1;
  const char *first = argv[1];
  if (argc == 2 && (is(first, "--help") || is(first, "-h"))) {
    fputs(usage, stdout);
    fputs(help, stdout);
    return 0;
  }
  if (argc == 2 && is(first, "--version")) {
    printf("tavrel-viewer %s\n", TAVREL_VERSION);
    return 0;
  }
  if (argc == 2 && first[0] != '-') {
    folder = first;
    return -1;
  }
  fprintf(stderr, "tavrel-viewer: unexpected argument '%s'\n", argc > 2 ? argv[2] : first);
  fputs(usage, stderr);
  return 2;
}
