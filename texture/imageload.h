// Steps the BMP and TGA loaders share: reading the file, choosing the pixel buffer, turning file
// rows into table rows, installing and uploading the result, and the reason for a refusal.
// Internal to texture/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// a slot a loader may fill: 0 to fontslot - 1, the font's own slot being left to the font
bool loadableslot(int slot);
// a pixel as one little-endian word, from anywhere in a buffer: its first byte is the low one on
// every machine, so the masks and shifts that work on it mean the same bytes everywhere
inline uint32_t load32(const unsigned char *p)
{
  uint32_t v;
  memcpy(&v, p, 4);
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap32(v);
#endif
  return v;
}
// stores a word that load32 read, its low byte first
inline void store32(unsigned char *p, uint32_t v)
{
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap32(v);
#endif
  memcpy(p, &v, 4);
}

// reasons more than one loader gives for refusing an image
constexpr const char *notaslot = "slot outside 0 to 510";
constexpr const char *tooshort = "file too short for its pixels";
constexpr const char *nomemory = "out of memory";

// records why a load was refused, for textureloaderror; 0
int failload(const char *reason);
// uploads the slot as it was while graphics is on (an empty slot goes up as a 0x0 image), and
// records why the load was refused; 0
int refuseimage(int slot, const char *reason);
// installs pixels (which may be the slot's own buffer) in the slot, uploads it while graphics is
// on, clears the refusal and keeps the file's format for textureloadformat; 1
int installimage(int slot, int width, int height, int mipmap, unsigned char *pixels,
                 const char *format);

// the folder a loader reads path from: "texturelow" when asked for low, or when the low-detail
// set is chosen and holds path; else "texture"
const char *imagefolder(int low, const char *path);
using imagedecoder = int (*)(int slot, const unsigned char *bytes, size_t count, int mipmap);
// reads path inside folder, or path as given when folder is no directory (or path is absolute),
// at most limit bytes of it, and hands the bytes to decode; a file that cannot be read is refused
// like a bad one
void loadimagefile(int slot, const char *folder, const char *path, long limit, int mipmap,
                   imagedecoder decode);
// the buffer to decode a width x height image (with or without its chain) into: the slot's own
// when it is that size already, which spares fresh pages on every load, else a new one; null when
// memory runs out. Only a decoder that can no longer fail may write into it
unsigned char *imagebuffer(int slot, int width, int height, int mipmap);
// a new uninitialised buffer of that size, for a decoder that may still fail; null when memory
// runs out
unsigned char *newimagebuffer(int width, int height, int mipmap);
// count pixels of 3 bytes (blue, green, red; alpha is given) or 4 bytes (blue, green, red,
// alpha) into table pixels; a mirrored row is written from its last pixel back to its first
void convertrow(const unsigned char *src, int bytesperpixel, int count, uint8_t alpha,
                bool mirrored, unsigned char *dst);
// the fewest bytes of run-length packets that can stand for that many pixels: one full run a
// packet, so a file shorter than this cannot fill its image and is refused before allocating
size_t leastrunbytes(size_t pixels, int bytesperpixel);
