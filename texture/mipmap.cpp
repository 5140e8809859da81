// Box-filter mipmaps, built in place in a slot's buffer after level 0.
#include "texture/imageload.h"
#include "texture/texture.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstring>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TAVREL_AVX2_ROWS 1
#endif

// the per-channel truncated mean of four pixels, two channels at a time in 16-bit lanes
static inline uint32_t average4(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
  const uint32_t lanes = 0x00FF00FFu;
  uint32_t even = (a & lanes) + (b & lanes) + (c & lanes) + (d & lanes);
  uint32_t odd = (a >> 8 & lanes) + (b >> 8 & lanes) + (c >> 8 & lanes) + (d >> 8 & lanes);
  return (even >> 2 & lanes) | (odd >> 2 & lanes) << 8;
}

#ifdef TAVREL_AVX2_ROWS
// sums of each channel with the same channel of the pixel to its right, for four pairs of pixels,
// in 16-bit lanes: each byte is put beside its partner and one multiply-add adds them
__attribute__((target("avx2"))) static inline __m256i pairsums(const unsigned char *p)
{
  const __m256i partners = _mm256_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15,
                                            0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15);
  const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p));
  return _mm256_maddubs_epi16(_mm256_shuffle_epi8(pixels, partners), _mm256_set1_epi8(1));
}

// eight output pixels at a time, where the processor has AVX2: the pair sums of both rows are
// added, divided by 4 and packed back into bytes, the exact truncated mean that average4 makes.
// Returns the number of output pixels made.
__attribute__((target("avx2"))) static int halveoctets(const unsigned char *row0,
                                                       const unsigned char *row1, int outwidth,
                                                       unsigned char *out)
{
  static const bool canhalve = __builtin_cpu_supports("avx2");
  if (!canhalve)
    return 0;
  int x = 0;
  for (; x + 8 <= outwidth; x += 8) {
    const size_t in = size_t(8) * x;
    const __m256i left = _mm256_add_epi16(pairsums(row0 + in), pairsums(row1 + in));
    const __m256i right = _mm256_add_epi16(pairsums(row0 + in + 32), pairsums(row1 + in + 32));
    // packing works within each 128-bit half, so the halves are put back in order
    const __m256i packed =
        _mm256_packus_epi16(_mm256_srli_epi16(left, 2), _mm256_srli_epi16(right, 2));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + size_t(4) * x),
                        _mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0)));
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
#ifdef TAVREL_AVX2_ROWS
    if (width > 1)
      x = halveoctets(row, row + down, outwidth, out);
#endif
    for (; x < outwidth; ++x) {
      const unsigned char *p = row + size_t(8) * x;
      store32(out + size_t(4) * x, average4(load32(p), load32(p + across), load32(p + down),
                                            load32(p + down + across)));
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
  if (!istextureslot(slot) || !texture[slot].mipmap || !texture[slot].data)
    return;  // a buffer without a chain's room would be written past
  const textureslot &t = texture[slot];
  mipmaplevel level = {0, t.width, t.height, 0};
  // each level goes up as soon as it is made, while its pixels are still in the cache
  while (nextmipmaplevel(t.data, level))
    glTexImage2D(GL_TEXTURE_2D, level.number, GL_RGBA, level.width, level.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, t.data + level.offset * 4);
}
