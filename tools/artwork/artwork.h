// The programs' artwork: the font image with its pointer and the icon, drawn from text tables, and
// the demo's floor and sounds, made by rule.
#pragma once

#include <vector>

// "font.bmp": 256x128, 24-bit, white on black: glyphs for 33 to 126 in 16x16 cells, the pointer
// in the top-left 32x32 block with its tip at (16, 16), and code 127 solid
std::vector<unsigned char> fontbmp();
// "tvr.bmp": the 32x32 window icon as a 24-bit BMP
std::vector<unsigned char> iconbmp();
// "floor.bmp": the demo's 128x128 floor of stone slabs, a 24-bit BMP that repeats seamlessly
std::vector<unsigned char> floorbmp();
// "ambient.wav": the demo's four-second background chord, which loops without a seam
std::vector<unsigned char> ambientwav();
// "gem.wav": the chime of a gem collected in the demo
std::vector<unsigned char> gemwav();
