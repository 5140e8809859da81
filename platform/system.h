// What the platform does one way on the desktop (desktop.cpp) and another in a web page
// (web.cpp), behind one set of calls; the build compiles one of the two files. The engine's own,
// not a public header: the platform and the start-up call them.
#pragma once

#include <ctime>

// shows the platform's pointer as mouselook and mouselocked say: hidden while the mouse is held
// for mouse look, else blank (the programs draw their own). On the web the pointer is taken from
// the browser (pointer lock) at the player's next click, as browsers allow no more
void showpointer();
// after the buffer swap: waits for the frame cap's share of a second since lastswap on the desktop;
// in a page, hands the browser its turn until its next animation frame, which paces the frames
void waitforframe(const timespec &lastswap);
// the window's icon from the 24-bit BMP at path; a page has none but its own
void setwindowicon(const char *path);
// hides the window at the shutdown, as it closes; a page stays as it is
void iconifywindow();
