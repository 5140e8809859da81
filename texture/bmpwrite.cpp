// Writing 24-bit BMP files: the headers and the padded rows. Screenshots and the artwork tool
// both write through here; it needs nothing else of the engine.
#include "texture/texture.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

// four 4-byte pixels at a time with one byte shuffle, where the processor has it; returns how
// many it packed, leaving those whose 16-byte store would reach past the row's pixels. Each store
// ends where the next load begins or before, so dst may be src or lie before it
__attribute__((target("ssse3"))) static int shufflepackrow(const unsigned char *src, int width,
                                                          unsigned char *dst)
{
  static const bool canshuffle = __builtin_cpu_supports("ssse3");
  if (!canshuffle)
    return 0;
  // -1 makes a zero byte, which the next store overwrites
  const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
  int x = 0;
  for (; size_t(x) * 3 + 16 <= size_t(width) * 3; x += 4) {
    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + size_t(x) * 4));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + size_t(x) * 3),
                     _mm_shuffle_epi8(pixels, order));
  }
  return x;
}
#endif

size_t bmprowbytes(int width)
{
  return (size_t(width) * 3 + 3) & ~size_t(3);
}

bytewriter bmpfileheader(int width, int height, uint32_t pixelspermetre)
{
  const uint32_t imagebytes = uint32_t(bmprowbytes(width) * size_t(height));
  bytewriter header;
  header.u8('B');
  header.u8('M');
  header.u32(bmpheaderbytes + imagebytes);
  header.u16(0);  // reserved
  header.u16(0);  // reserved
  header.u32(bmpheaderbytes);
  header.u32(bmpheaderbytes - 14);  // the info header follows the 14-byte file header
  header.u32(uint32_t(width));
  header.u32(uint32_t(height));  // positive: the bottom row comes first
  header.u16(1);                 // planes
  header.u16(24);                // bits per pixel
  header.u32(0);                 // no compression
  header.u32(imagebytes);
  header.u32(pixelspermetre);
  header.u32(pixelspermetre);
  header.u32(0);  // palette colours
  header.u32(0);  // important colours
  return header;
}

void packbmprow(const unsigned char *src, int bytesperpixel, int width, unsigned char *dst)
{
  int x = 0;
#if defined(__x86_64__) || defined(__i386__)
  if (bytesperpixel == 4)
    x = shufflepackrow(src, width, dst);
#endif
  // each pixel is read whole before its bytes are stored, which never reach past it
  for (src += size_t(x) * bytesperpixel; x < width; ++x, src += bytesperpixel) {
    const unsigned char red = src[0], green = src[1], blue = src[2];
    dst[3 * x] = blue;
    dst[3 * x + 1] = green;
    dst[3 * x + 2] = red;
  }
  for (size_t pad = size_t(width) * 3; pad < bmprowbytes(width); ++pad)
    dst[pad] = 0;
}
