// A private Xvfb for one test program, so that GL and end-to-end tests run in parallel safely.
#pragma once

#include <string>

// starts Xvfb on a free display (once per process), points DISPLAY at it, and stops it at exit;
// returns the display name, e.g. ":3"
std::string startxserver();
