// The command line of tavrel-setup: what --help and --version print, and the usage given for an
// argument it does not know, before any window is opened or any file touched.
#include "commandline.h"

#include <cstdio>
#include <cstring>

static const char usage[] = "usage: tavrel-setup [--help | --version]\n";

static const char help[] =
    "Tavrel Setup: choose the screen resolution, full-screen mode, mouse, sound, interface,\n"
    "text colour and texture detail of the game Tavrel.\n"
    "\n"
    "The choices are read from hwconfig.cfg in the working directory, where the game reads\n"
    "them, and stored there when you leave with Done, Escape or the window's close button.\n"
    "The window's font and icon (font.bmp, tvr.bmp) are taken from the working directory\n"
    "when it holds them, else from the installed data folder, else from the program's folder.\n"
    "\n"
    "Keys:\n"
    "  1 to 4    resolution 640x480, 800x600, 1024x768, 1280x960\n"
    "  F         full screen\n"
    "  M         mouse unlocked\n"
    "  S         sound\n"
    "  I         interface\n"
    "  T         the text colour bars (drag along a bar; Ctrl snaps, Shift sets all three)\n"
    "  Escape    store the choices and close\n"
    "  F12       let the mouse go and minimise the window\n"
    "\n"
    "Options:\n"
    "  -h, --help  show this help and exit\n"
    "  --version   show the version and exit\n";

static bool ishelp(const char *argument)
{
  return strcmp(argument, "--help") == 0 || strcmp(argument, "-h") == 0;
}

static bool isversion(const char *argument)
{
  return strcmp(argument, "--version") == 0;
}

int readcommandline(int argc, char **argv)
{
  if (argc < 2)
    return -1;
  const char *first = argv[1];
  if (argc == 2 && ishelp(first)) {
    fputs(usage, stdout);
    fputs(help, stdout);
    return 0;
  }
  if (argc == 2 && isversion(first)) {
    printf("tavrel-setup %s\n", TAVREL_VERSION);
    return 0;
  }
  const bool known = ishelp(first) || isversion(first);
  fprintf(stderr, "tavrel-setup: unexpected argument '%s'\n", known ? argv[2] : first);
  fputs(usage, stderr);
  return 2;
}
