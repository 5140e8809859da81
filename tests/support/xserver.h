// A private Xvfb for one test program, so that GL and end-to-end tests run in parallel safely, and
// a Wayland compositor inside it for the tests that need one.
#pragma once

#include <string>
#include <vector>

// in a server's child: its chatter goes nowhere
void silenceoutput();

// starts Xvfb on a free display (once per process), points DISPLAY at it, and stops it at exit;
// returns the display name, e.g. ":3". The screen is 1024x768 unless screen names another size
// ("3840x2160"); a server running with another size than the one named is stopped first
std::string startxserver(const char *screen = nullptr);

// starts weston (once per process) nested in the private Xvfb, with one 640x480 output at the
// screen's top left in which its kiosk shell shows the one program that connects, on black, and
// stops it at exit; returns what a program needs in its environment to use it and no other
// display: "WAYLAND_DISPLAY=..." and "XDG_RUNTIME_DIR=..."
std::vector<std::string> startwaylandserver();
