// The one 640x480 OpenGL window that a GL test program shares, and pixel read-back helpers.
#pragma once

#include <cstdint>
#include <vector>

// RGBA of the back buffer's pixel at virtual (x, y), origin top left as the engine draws
struct rgba {
  uint8_t r, g, b, a;
};
rgba readpixel(int x, int y);
// the whole 640x480 colour buffer, rows top first, 4 bytes a pixel
std::vector<uint8_t> readframe();
// clears the colour buffer to black
void clearframe();
