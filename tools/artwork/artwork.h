// The program's artwork, drawn from text tables: the font image with its pointer, and the icon.
#pragma once

#include <vector>

// the font's 256x128 alpha image, rows top first: glyphs for 33 to 126 in 16x16 cells, the
// pointer in the top-left 32x32 block with its tip at (16, 16), and code 127 solid
std::vector<unsigned char> fontimage();
// "font.bmp": the font image as a 24-bit BMP, white on black
std::vector<unsigned char> fontbmp();
// "tvr.bmp": the 32x32 window icon as a 24-bit BMP
std::vector<unsigned char> iconbmp();
