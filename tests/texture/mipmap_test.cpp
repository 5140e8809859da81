// The box filter that makes each mipmap level, against a plain per-channel reference.
#include "engine.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

using pixels = std::vector<unsigned char>;

// the straightforward filter: each channel of each output pixel is the truncated mean of the
// 2x2 block above it; along a side of 1 the block is that one pixel taken twice
pixels referencehalve(const pixels &src, int width, int height)
{
  int outwidth = std::max(1, width / 2), outheight = std::max(1, height / 2);
  pixels out(size_t(outwidth) * outheight * 4);
  for (int y = 0; y < outheight; ++y)
    for (int x = 0; x < outwidth; ++x)
      for (int c = 0; c < 4; ++c) {
        int x0 = 2 * x, x1 = std::min(2 * x + 1, width - 1);
        int y0 = 2 * y, y1 = std::min(2 * y + 1, height - 1);
        unsigned sum = src[(y0 * width + x0) * 4 + c] + src[(y0 * width + x1) * 4 + c] +
                       src[(y1 * width + x0) * 4 + c] + src[(y1 * width + x1) * 4 + c];
        out[(y * outwidth + x) * 4 + c] = uint8_t(sum / 4);
      }
  return out;
}

pixels randompixels(int count, unsigned seed)
{
  std::mt19937 random(seed);
  pixels p(size_t(count) * 4);
  for (auto &byte : p)
    byte = uint8_t(random());
  return p;
}

TEST(mipmap_filter, truncates_rather_than_rounds_and_averages_alpha_plainly)
{
  pixels block = {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 0, 254, 0, 0, 0};
  pixels out(4);
  halvelevel(block.data(), 2, 2, out.data());
  EXPECT_EQ(out[0], 254);
  EXPECT_EQ(out[3], 127);
}

TEST(mipmap_filter, matches_the_reference_for_every_shape)
{
  const int shapes[][2] = {{2, 2},  {4, 4},   {256, 256}, {1, 8}, {8, 1}, {1, 1}, {5, 3},
                           {3, 5},  {7, 7},   {64, 2},    {2, 64}, {33, 17}, {1, 3}, {6, 1}};
  unsigned seed = 1;
  for (const auto &shape : shapes) {
    int width = shape[0], height = shape[1];
    pixels src = randompixels(width * height, seed++);
    pixels out(size_t(std::max(1, width / 2)) * std::max(1, height / 2) * 4);
    halvelevel(src.data(), width, height, out.data());
    EXPECT_EQ(out, referencehalve(src, width, height)) << width << "x" << height;
  }
}

}  // namespace
