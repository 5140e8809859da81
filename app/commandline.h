// The command line of tavrel-setup: --help, --version, and nothing else.
#pragma once

// handles the arguments; -1 when the program should go on and open its window, else the exit
// status (0 after --help or --version, 2 after an argument it does not know)
int readcommandline(int argc, char **argv);
