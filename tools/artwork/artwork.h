// The programs' artwork: the font image with its pointer, drawn from text tables; the icon, drawn
// from shapes at every size the desktop asks for; the demo's floor and sounds, and the example
// game's sprites, sounds and music, made by rule.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// [SECTION] the writers every file made here goes through
constexpr int soundrate = 22050;  // frames a second of every sound: mono, 16-bit
constexpr double pi = 3.14159265358979323846;
// an 8-bit PNG of width x height pixels of channels bytes each, 3 (RGB) or 4 (RGBA), rows top
// first, its image data in stored deflate blocks
std::vector<unsigned char> pngfile(int width, int height, int channels,
                                   const std::vector<unsigned char> &pixels);
// a 16-bit mono PCM WAV file of the samples at soundrate, field by field
std::vector<unsigned char> wavfile(const std::vector<int16_t> &samples);
// a value from -1 to 1 as a sample; beyond them, clipped
int16_t tosample(double value);

// [SECTION] the engine's and its programs' artwork, in data/

constexpr const char *iconname = "org.tavrel.Setup";  // the icon's name in the desktop's theme
constexpr int iconsizes[] = {16, 24, 32, 48, 64, 128, 256};  // the PNG sizes in the theme

// "font.bmp": 256x256, 24-bit, white on black: glyphs for 33 to 126 and for U+00A1 to U+00FF in
// the 16x16 cells of their codes, the replacement glyph in cell 128, the pointer in the top-left
// 32x32 block with its tip at (16, 16), and code 127 solid
std::vector<unsigned char> fontbmp();
// the font's Latin-1 tables (latin1.cpp): glyphs drawn whole, the short capitals that carry an
// accent, the marks, and which mark and base make each composed letter
extern const char *const latinglyphtable;
extern const char *const shortcapitaltable;
extern const char *const marktable;
extern const char *const composedtable;
// "tvr.bmp": the 32x32 window icon as a 24-bit BMP
std::vector<unsigned char> iconbmp();
// the icon drawn at side x side pixels: RGB bytes, rows top first
std::vector<unsigned char> iconrgb(int side);
// the icon drawn at side x side pixels as an 8-bit RGB PNG
std::vector<unsigned char> iconpng(int side);
// the icon as an SVG drawing on a 32x32 view box, the same shapes in the same colours
std::string iconsvg();
// where the icon of side pixels lies in the data folder, as in the theme; side 0 is the SVG
std::string iconfile(int side);
// "floor.bmp": the demo's 128x128 floor of stone slabs, a 24-bit BMP that repeats seamlessly
std::vector<unsigned char> floorbmp();
// "ambient.wav": the demo's four-second background chord, which loops without a seam
std::vector<unsigned char> ambientwav();
// "gem.wav": the chime of a gem collected in the demo
std::vector<unsigned char> gemwav();

// [SECTION] the example game's, in examples/arena/data/
// every file of it by its name there: the sprites in "texture" and at half size in "texturelow",
// the sounds in "sound"
std::vector<std::pair<std::string, std::vector<unsigned char>>> arenaartwork();
// eight seconds of the arena's music, which loop without a seam, as a WAV file for
// tools/arena-music.sh to encode as sound/music.ogg
std::vector<unsigned char> arenamusicwav();
