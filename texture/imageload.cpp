// Steps the image loaders share: reading the file a piece at a time, choosing the pixel
// buffer, turning file rows into table rows, installing and uploading the result, and the reason
// for a refusal.
#include "texture/imageload.h"
#include "texture/texture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TAVREL_SHUFFLE_ROWS 1
#endif

static const char *loadrefusal = nullptr;  // why the last load was refused
static char loadformat[48];                // what the last accepted load read

const char *textureloaderror()
{
  return loadrefusal;
}

const char *textureloadformat()
{
  return loadrefusal || !loadformat[0] ? nullptr : loadformat;
}

int failload(const char *reason)
{
  loadrefusal = reason;
  return 0;
}

int refuseimage(int slot, const char *reason)
{
  if (textureuploads)
    uploadloadedtexture(slot);
  return failload(reason);
}

int installimage(int slot, int width, int height, int mipmap, unsigned char *pixels,
                 const char *format)
{
  settexture(slot, width, height, mipmap, pixels);
  if (textureuploads)
    uploadloadedtexture(slot);
  loadrefusal = nullptr;
  strncpy(loadformat, format, sizeof loadformat - 1);
  return 1;
}

int32_t lowtexturedetail;

const char *imagefolder(int low, const char *path)
{
  if (low || !path || !lowtexturedetail || path[0] == '/')
    return low ? lowtexturefolder : texturefolder;
  return findfolderfile(lowtexturefolder, path) ? lowtexturefolder : texturefolder;
}

// twice the largest piece, so that most refills read a full buffer whatever piece is left over
static unsigned char piecebuffer[2 * largestpiece];

const unsigned char *imagereader::take(size_t count)
{
  if (pos > source.size || count > source.size - pos)
    return nullptr;
  const size_t at = pos;
  pos += count;
  if (source.bytes)
    return source.bytes + at;
  if (at < piecestart || at + count > pieceend) {
    const size_t fill = std::min(sizeof piecebuffer, source.size - at);
    pieceend = piecestart = at;
    if (count > fill || !source.readat(at, piecebuffer, fill))
      return nullptr;
    pieceend = at + fill;
  }
  return piecebuffer + (at - piecestart);
}

const char *shortreason(const imagereader &in, const char *ended)
{
  return in.source.failed ? cutshort : ended;
}

// a game names its sprites in the full-detail picture's pixels, so that they draw alike whichever
// set the player chose; the twin's header alone is read
static void takefullsides(int slot, const char *path, const imageformat &format)
{
  bytesource file;
  int width, height;
  if (!openfolderfile(texturefolder, path, file, format.largestfile))
    return;
  imagereader in(file);
  if (format.sides(in, width, height)) {
    texture[slot].fullwidth = width;
    texture[slot].fullheight = height;
  }
}

void loadimagefile(int slot, const char *folder, const char *path, int mipmap,
                   const imageformat &format)
{
  if (!loadableslot(slot)) {
    failload(notaslot);
    return;
  }
  bytesource file;
  if (!openfolderfile(folder, path, file, format.largestfile)) {
    refuseimage(slot, "cannot open the file");
    return;
  }
  imagereader in(file);
  if (format.decode(slot, in, mipmap) && strcmp(folder, lowtexturefolder) == 0)
    takefullsides(slot, path, format);
}

int loadimagebytes(int slot, const unsigned char *bytes, size_t count, int mipmap,
                   imagedecoder decode)
{
  bytesource memory(bytes, count);
  imagereader in(memory);
  return decode(slot, in, mipmap);
}

bool loadableslot(int slot)
{
  return slot >= 0 && slot < fontslot;
}

unsigned char *imagebuffer(int slot, int width, int height, int mipmap)
{
  const textureslot &t = texture[slot];
  if (t.data && texturebytes(t.width, t.height, t.mipmap) == texturebytes(width, height, mipmap))
    return t.data;
  return newimagebuffer(width, height, mipmap);
}

unsigned char *newimagebuffer(int width, int height, int mipmap)
{
  return static_cast<unsigned char *>(malloc(texturebytes(width, height, mipmap)));
}

int refusedecoded(int slot, unsigned char *pixels, const char *reason)
{
  if (pixels == texture[slot].data)
    freetexture(slot);
  else
    free(pixels);
  return refuseimage(slot, reason);
}

// blue, green, red, alpha bytes to red, green, blue, alpha: the first and third bytes swap
static inline uint32_t swapredblue(uint32_t v)
{
  return (v & 0xFF00FF00u) | (v >> 16 & 0xFFu) | (v & 0xFFu) << 16;
}

#ifdef TAVREL_SHUFFLE_ROWS
// pixels of bytesperpixel bytes four at a time with one byte shuffle, from pixel first on;
// returns the pixel it stopped at, leaving those whose 16-byte load would reach past the row
template <int bytesperpixel>
__attribute__((target("ssse3"))) static int shufflerow(const unsigned char *src, int first,
                                                       int count, uint8_t alpha,
                                                       unsigned char *dst)
{
  // -1 makes a zero byte, which the 3-byte pixels fill with their alpha
  const __m128i order = bytesperpixel == 3
                            ? _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1)
                            : _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
  const __m128i opaque = _mm_set1_epi32(bytesperpixel == 3 ? int(uint32_t(alpha) << 24) : 0);
  int i = first;
  for (; i * bytesperpixel + 16 <= count * bytesperpixel; i += 4) {  // each load inside the row
    __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i * bytesperpixel));
    pixels = _mm_shuffle_epi8(pixels, order);
    if (bytesperpixel == 3)
      pixels = _mm_or_si128(pixels, opaque);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i * 4), pixels);
  }
  return i;
}

// 4-byte pixels eight at a time, where the processor has the wider shuffle: a small image's rows
// are in the cache, so the instructions a pixel takes are its cost
__attribute__((target("avx2"))) static int shufflewiderow(const unsigned char *src, int count,
                                                          unsigned char *dst)
{
  const __m256i order = _mm256_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15, 2,
                                         1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(src + i * 4));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(dst + i * 4),
                        _mm256_shuffle_epi8(pixels, order));
  }
  return i;
}

// the pixels the processor's shuffles convert: how many, from the first
static int shufflerow(const unsigned char *src, int bytesperpixel, int count, uint8_t alpha,
                      unsigned char *dst)
{
  static const bool canshuffle = __builtin_cpu_supports("ssse3"),
                    canshufflewide = __builtin_cpu_supports("avx2");
  if (!canshuffle)
    return 0;
  if (bytesperpixel == 3)
    return shufflerow<3>(src, 0, count, alpha, dst);
  return shufflerow<4>(src, canshufflewide ? shufflewiderow(src, count, dst) : 0, count, alpha,
                       dst);
}
#endif

void convertrow(const unsigned char *src, int bytesperpixel, int count, uint8_t alpha,
                bool mirrored, unsigned char *dst)
{
  int i = 0;
#ifdef TAVREL_SHUFFLE_ROWS
  if (!mirrored)
    i = shufflerow(src, bytesperpixel, count, alpha, dst);
#endif
  const ptrdiff_t step = mirrored ? -4 : 4;
  unsigned char *out = mirrored ? dst + size_t(count - 1) * 4 : dst + size_t(i) * 4;
  if (bytesperpixel == 4) {
    for (; i < count; ++i, out += step) {
      store32(out, swapredblue(load32(src + size_t(i) * 4)));
    }
    return;
  }
  const uint32_t opaque = uint32_t(alpha) << 24;
  // a 4-byte load of a 3-byte pixel takes a byte of the next one, so the last pixel is read
  // byte by byte to stay inside the row
  for (; i < count - 1; ++i, out += step) {
    store32(out, (swapredblue(load32(src + size_t(i) * 3)) & 0xFFFFFFu) | opaque);
  }
  const unsigned char *last = src + size_t(count - 1) * 3;
  store32(out, swapredblue(last[0] | last[1] << 8 | uint32_t(last[2]) << 16) | opaque);
}
