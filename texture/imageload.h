// Steps the BMP and TGA loaders share: finding the file, sizing the pixel buffer, turning file
// rows into table rows, and installing and uploading the result. Internal to texture/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// a slot a loader may fill: 0 to fontslot - 1, the font's own slot being left to the font
bool loadableslot(int slot);
// a pixel as one little-endian word, from anywhere in a buffer
inline uint32_t load32(const unsigned char *p)
{
  uint32_t v;
  memcpy(&v, p, 4);
  return v;
}

// path inside folder, or path as given when folder is no directory (or path is absolute)
std::string imagepath(const char *folder, const char *path);
// an uninitialised buffer for a width x height slot with or without its mipmap chain; null
// when a side lies outside 1..maxtextureside or memory runs out
unsigned char *newimagebuffer(int width, int height, int mipmap);
// count pixels of 3 bytes (blue, green, red; alpha is given) or 4 bytes (blue, green, red,
// alpha) into table pixels; a mirrored row is written from its last pixel back to its first
void convertrow(const unsigned char *src, int bytesperpixel, int count, uint8_t alpha,
                bool mirrored, unsigned char *dst);
// installs pixels in a loadable slot (null: the slot stays as it was), then uploads the slot
// while graphics is on; 1 when installed
int finishimageload(int slot, int width, int height, int mipmap, unsigned char *pixels);
// the fewest bytes of run-length packets that can stand for that many pixels: one full run a
// packet, so a file shorter than this cannot fill its image and is refused before allocating
size_t leastrunbytes(size_t pixels, int bytesperpixel);
