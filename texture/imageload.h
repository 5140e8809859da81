// Steps the image loaders share: reading the file a piece at a time, choosing the pixel
// buffer, turning file rows into table rows, installing and uploading the result, and the reason
// for a refusal. Internal to texture/.
#pragma once

#include "files/files.h"

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
constexpr const char *cutshort = "file cut short while it loaded";

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
// a loader's bytes a piece at a time: bytes in memory are read where they lie, a file's through
// one small buffer that stays in the cache, so no copy of the whole file is ever made
struct imagereader {
  bytesource &source;
  size_t pos = 0;  // the next byte to take
  size_t piecestart = 0, pieceend = 0;  // the file bytes the buffer holds

  explicit imagereader(bytesource &from) : source(from) {}
  // the next count bytes (at most largestpiece) in one run, valid until the next take; null when
  // the source has fewer, or a file could not be read
  const unsigned char *take(size_t count);
};
// the most one take asks for: a row of the widest 32-bit image
constexpr size_t largestpiece = size_t(16384) * 4;
// why a take came back empty: the file failed under the reader, or else ended where its header
// said it would not
const char *shortreason(const imagereader &in, const char *ended);

using imagedecoder = int (*)(int slot, imagereader &in, int mipmap);
// reads no more of a file than its header, for the image's sides; false when it is no such image
using imagesides = bool (*)(imagereader &in, int &width, int &height);
// what loads one kind of file: its decoder, the reader of its sides, and the longest file it takes
struct imageformat {
  imagedecoder decode;
  imagesides sides;
  int64_t largestfile;
};
// opens path inside folder, or path as given when folder is no directory (or path is absolute),
// and hands it to the format's decoder; a file that cannot be opened is refused like a bad one.
// A picture from the low-detail folder takes the sides of its twin in the full-detail one
void loadimagefile(int slot, const char *folder, const char *path, int mipmap,
                   const imageformat &format);
// decodes count bytes in memory as decode reads a file
int loadimagebytes(int slot, const unsigned char *bytes, size_t count, int mipmap,
                   imagedecoder decode);
// the buffer to decode a width x height image (with or without its chain) into: the slot's own
// when it is that size already, which spares fresh pages on every load, else a new one; null when
// memory runs out. A decoder that fails after writing into it refuses through refusedecoded,
// which empties the slot rather than leave it half old, half new
unsigned char *imagebuffer(int slot, int width, int height, int mipmap);
// a new uninitialised buffer of that size, for a decoder that may still fail; null when memory
// runs out
unsigned char *newimagebuffer(int width, int height, int mipmap);
// refuses a load whose decoding failed part way into pixels: a new buffer is freed, and a slot
// whose own buffer was half written is emptied rather than left half old, half new
int refusedecoded(int slot, unsigned char *pixels, const char *reason);
// count pixels of 3 bytes (blue, green, red; alpha is given) or 4 bytes (blue, green, red,
// alpha) into table pixels; a mirrored row is written from its last pixel back to its first
void convertrow(const unsigned char *src, int bytesperpixel, int count, uint8_t alpha,
                bool mirrored, unsigned char *dst);
// the fewest bytes of run-length packets that can stand for that many pixels: one full run a
// packet, so a file shorter than this cannot fill its image and is refused before allocating
size_t leastrunbytes(size_t pixels, int bytesperpixel);
