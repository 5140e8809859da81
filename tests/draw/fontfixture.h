// Font files made in the tests: 24-bit BMPs with chosen header fields and pixels, and a scratch
// working directory for loadfont to read "font.bmp" from.
#pragma once

#include "engine.h"
#include "testfiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

struct fontfile {
  int32_t width = 256;
  int32_t height = 128;   // negative: rows stored top first
  uint32_t infosize = 40;
  uint16_t planes = 1;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t offset = 54;   // pixel data offset; the gap after the headers is zero-filled
  // the red byte of image pixel (x, y), y from the top; blue and green get other values so
  // that a loader reading the wrong byte shows
  std::function<uint8_t(int, int)> red = [](int x, int y) { return uint8_t(x * 7 + y * 13); };

  std::vector<unsigned char> bytes() const
  {
    const int rows = height < 0 ? -height : height;
    const uint32_t rowbytes = (uint32_t(width) * bits / 8 + 3) & ~3u;
    bytewriter out;
    out.u8('B');
    out.u8('M');
    out.u32(offset + rowbytes * rows);
    out.u32(0);
    out.u32(offset);
    out.u32(infosize);
    out.u32(uint32_t(width));
    out.u32(uint32_t(height));
    out.u16(planes);
    out.u16(bits);
    out.u32(compression);
    out.u32(rowbytes * rows);
    out.u32(2835);
    out.u32(2835);
    out.u32(0);
    out.u32(0);
    out.bytes.resize(offset, 0);
    for (int filerow = 0; filerow < rows; ++filerow) {
      const int y = height < 0 ? filerow : rows - 1 - filerow;
      for (int x = 0; x < width; ++x) {
        out.u8(uint8_t(~red(x, y)));   // blue
        out.u8(uint8_t(red(x, y) ^ 0x5A));  // green
        out.u8(red(x, y));
        for (int extra = 3; extra < bits / 8; ++extra)
          out.u8(0x77);
      }
      while (out.bytes.size() % 4 != offset % 4)
        out.u8(0);
    }
    return out.bytes;
  }
};

// runs the test in a fresh empty directory, the one loadfont reads "font.bmp" from
class scratchdirtest : public ::testing::Test {
protected:
  scratchworkdir folder;
  const std::string &dir = folder.path;

  void writefont(const std::vector<unsigned char> &bytes) { writebytes("font.bmp", bytes); }
};
