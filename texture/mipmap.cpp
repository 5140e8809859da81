// Box-filter mipmaps, built in place in a slot's buffer after level 0.
#include "texture/texture.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstring>

static inline uint32_t loadpixel(const unsigned char *p)
{
  uint32_t v;
  memcpy(&v, p, 4);
  return v;
}

// the per-channel truncated mean of four pixels, two channels at a time in 16-bit lanes
static inline uint32_t average4(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
  const uint32_t lanes = 0x00FF00FFu;
  uint32_t even = (a & lanes) + (b & lanes) + (c & lanes) + (d & lanes);
  uint32_t odd = (a >> 8 & lanes) + (b >> 8 & lanes) + (c >> 8 & lanes) + (d >> 8 & lanes);
  return (even >> 2 & lanes) | (odd >> 2 & lanes) << 8;
}

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
    for (int x = 0; x < outwidth; ++x) {
      const unsigned char *p = row + size_t(8) * x;
      uint32_t v = average4(loadpixel(p), loadpixel(p + across), loadpixel(p + down),
                            loadpixel(p + down + across));
      memcpy(out + size_t(4) * x, &v, 4);
    }
  }
}

void generatemipmap(int slot)
{
  const textureslot &t = texture[slot];
  int width = t.width;
  int height = t.height;
  size_t src = 0;
  size_t dst = size_t(width) * height;  // level 1 starts right after level 0
  for (int level = 1; width > 1 || height > 1; ++level) {
    halvelevel(t.data + src * 4, width, height, t.data + dst * 4);
    width = std::max(1, width >> 1);
    height = std::max(1, height >> 1);
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 t.data + dst * 4);
    src = dst;
    dst += size_t(width) * height;
  }
}
