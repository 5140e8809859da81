// Writing 24-bit BMP files: the headers and the padded rows. Screenshots and the artwork tool
// both write through here; it needs nothing else of the engine.
#include "texture/texture.h"

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
  // each pixel is read whole before its bytes are stored, which never reach past it
  for (int x = 0; x < width; ++x, src += bytesperpixel) {
    const unsigned char red = src[0], green = src[1], blue = src[2];
    dst[3 * x] = blue;
    dst[3 * x + 1] = green;
    dst[3 * x + 2] = red;
  }
  for (size_t pad = size_t(width) * 3; pad < bmprowbytes(width); ++pad)
    dst[pad] = 0;
}
