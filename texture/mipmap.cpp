// Box-filter mipmaps, built in place in a slot's buffer after level 0.
#include "texture/imageload.h"
#include "texture/texture.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

// the per-channel truncated mean of four pixels, two channels at a time in 16-bit lanes
static inline uint32_t average4(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
  const uint32_t lanes = 0x00FF00FFu;
  uint32_t even = (a & lanes) + (b & lanes) + (c & lanes) + (d & lanes);
  uint32_t odd = (a >> 8 & lanes) + (b >> 8 & lanes) + (c >> 8 & lanes) + (d >> 8 & lanes);
  return (even >> 2 & lanes) | (odd >> 2 & lanes) << 8;
}

#ifdef __SSE2__
// the truncated mean of bytes, from pavgb's rounded-up one: take off the bit it rounded with
static inline __m128i floormean(__m128i x, __m128i y, __m128i oddsum)
{
  return _mm_sub_epi8(_mm_avg_epu8(x, y), oddsum);
}

// the even and the odd pixels of two vectors of four, as two vectors of four
static inline __m128i evenpixels(__m128i x, __m128i y)
{
  return _mm_castps_si128(
      _mm_shuffle_ps(_mm_castsi128_ps(x), _mm_castsi128_ps(y), _MM_SHUFFLE(2, 0, 2, 0)));
}
static inline __m128i oddpixels(__m128i x, __m128i y)
{
  return _mm_castps_si128(
      _mm_shuffle_ps(_mm_castsi128_ps(x), _mm_castsi128_ps(y), _MM_SHUFFLE(3, 1, 3, 1)));
}

// four output pixels at a time from two rows of eight, with the same truncated means as
// average4. With v1, v2 the floored means of the block's two columns, floor((a+b+c+d)/4) is
// floor((v1+v2+1)/2) when both column sums are odd and floor((v1+v2)/2) otherwise. Returns the
// number of output pixels made.
static int halvequads(const unsigned char *row0, const unsigned char *row1, int outwidth,
                      unsigned char *out)
{
  const __m128i one = _mm_set1_epi8(1);
  int x = 0;
  for (; x + 4 <= outwidth; x += 4) {
    const __m128i *top = reinterpret_cast<const __m128i *>(row0 + size_t(8) * x);
    const __m128i *bottom = reinterpret_cast<const __m128i *>(row1 + size_t(8) * x);
    const __m128i top0 = _mm_loadu_si128(top), top1 = _mm_loadu_si128(top + 1);
    const __m128i bottom0 = _mm_loadu_si128(bottom), bottom1 = _mm_loadu_si128(bottom + 1);
    const __m128i odd0 = _mm_and_si128(_mm_xor_si128(top0, bottom0), one);
    const __m128i odd1 = _mm_and_si128(_mm_xor_si128(top1, bottom1), one);
    const __m128i column0 = floormean(top0, bottom0, odd0);
    const __m128i column1 = floormean(top1, bottom1, odd1);
    const __m128i left = evenpixels(column0, column1), right = oddpixels(column0, column1);
    const __m128i bothodd = _mm_and_si128(evenpixels(odd0, odd1), oddpixels(odd0, odd1));
    const __m128i oddpair = _mm_and_si128(_mm_xor_si128(left, right), one);
    const __m128i mean = floormean(left, right, _mm_andnot_si128(bothodd, oddpair));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out + size_t(4) * x), mean);
  }
  return x;
}
#endif

void halvelevel(const unsigned char *src, int width, int height, unsigned char *dst)
{
  const int outwidth = std::max(1, width >> 1);
  const int outheight = std::max(1, height >> 1);
  // a side of 1 reads its one pixel twice, which averages along the other side only
  const size_t across = width > 1 ? 4 : 0;
  const size_t down = height > 1 ? size_t(width) * 4 : 0;
  for (int y = 0; y < outheight; ++y) {
    const unsigned char *row = src + size_t(2 * y) * width * 4;
    unsigned char *out = dst + size_t(y) * outwidth * 4;
    int x = 0;
#ifdef __SSE2__
    if (width > 1)
      x = halvequads(row, row + down, outwidth, out);
#endif
    for (; x < outwidth; ++x) {
      const unsigned char *p = row + size_t(8) * x;
      uint32_t v = average4(load32(p), load32(p + across), load32(p + down),
                            load32(p + down + across));
      memcpy(out + size_t(4) * x, &v, 4);
    }
  }
}

bool nextmipmaplevel(unsigned char *data, mipmaplevel &level)
{
  if (level.width <= 1 && level.height <= 1)
    return false;
  const size_t next = level.offset + size_t(level.width) * level.height;
  halvelevel(data + level.offset * 4, level.width, level.height, data + next * 4);
  level = {level.number + 1, std::max(1, level.width >> 1), std::max(1, level.height >> 1), next};
  return true;
}

void buildmipmaps(unsigned char *data, int width, int height)
{
  mipmaplevel level = {0, width, height, 0};
  while (nextmipmaplevel(data, level))
    continue;
}

void generatemipmap(int slot)
{
  const textureslot &t = texture[slot];
  mipmaplevel level = {0, t.width, t.height, 0};
  // each level goes up as soon as it is made, while its pixels are still in the cache
  while (nextmipmaplevel(t.data, level))
    glTexImage2D(GL_TEXTURE_2D, level.number, GL_RGBA, level.width, level.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, t.data + level.offset * 4);
}
