// Steps the BMP and TGA loaders share: finding the file, sizing the pixel buffer, turning file
// rows into table rows, and installing and uploading the result. Internal to texture/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// path inside folder, or path as given when folder is no directory (or path is absolute)
std::string imagepath(const char *folder, const char *path);
// an uninitialised buffer for a width x height slot with or without its mipmap chain; null
// when a side lies outside 1..maxtextureside or memory runs out
unsigned char *newimagebuffer(int width, int height, int mipmap);
// count pixels of 3 bytes (blue, green, red; alpha is given) or 4 bytes (blue, green, red,
// alpha) into table pixels; a mirrored row is written from its last pixel back to its first
void convertrow(const unsigned char *src, int bytesperpixel, int count, uint8_t alpha,
                bool mirrored, unsigned char *dst);
// installs pixels in the slot (null: the slot stays as it was), then uploads the slot while
// graphics is on; 1 when installed
int finishimageload(int slot, int width, int height, int mipmap, unsigned char *pixels);
