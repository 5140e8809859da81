// The box filter that makes each mipmap level, and the chain built from it, against a plain
// per-channel reference.
#include "engine.h"
#include "imagefiles.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

image randomimage(int width, int height, unsigned seed)
{
  std::mt19937 random(seed);
  image picture{width, height, bytes(size_t(width) * height * 4)};
  for (auto &byte : picture.rgba)
    byte = uint8_t(random());
  return picture;
}

image halved(const image &level)
{
  image out{std::max(1, level.width / 2), std::max(1, level.height / 2), {}};
  out.rgba.resize(size_t(out.width) * out.height * 4);
  halvelevel(level.rgba.data(), level.width, level.height, out.rgba.data());
  return out;
}

TEST(mipmap_filter, matches_the_reference_for_every_shape)
{
  // sums that a rounding mean would take up: red 255+255+255+254, alpha 255+255+0+0
  const image block{2, 2, {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 0, 254, 0, 0, 0}};
  EXPECT_TRUE(samepicture(referencehalve(block), halved(block)));
  const int shapes[][2] = {{2, 2},  {4, 4},   {256, 256}, {1, 8}, {8, 1}, {1, 1}, {5, 3},
                           {3, 5},  {7, 7},   {64, 2},    {2, 64}, {33, 17}, {1, 3}, {6, 1}};
  unsigned seed = 1;
  for (const auto &shape : shapes) {
    SCOPED_TRACE(testing::Message() << shape[0] << "x" << shape[1]);
    image level = randomimage(shape[0], shape[1], seed++);
    EXPECT_TRUE(samepicture(referencehalve(level), halved(level)));
  }
}

TEST(mipmap_filter, builds_each_level_right_behind_the_one_before_down_to_one_pixel)
{
  for (const auto &shape : {std::pair{16, 16}, std::pair{12, 3}, std::pair{1, 5}}) {
    SCOPED_TRACE(testing::Message() << shape.first << "x" << shape.second);
    image level = randomimage(shape.first, shape.second, 40);
    bytes buffer(texturebytes(level.width, level.height, 1), 0xEE);
    std::copy(level.rgba.begin(), level.rgba.end(), buffer.begin());
    buildmipmaps(buffer.data(), level.width, level.height);
    size_t offset = level.rgba.size();
    while (level.width > 1 || level.height > 1) {
      level = referencehalve(level);
      EXPECT_TRUE(std::equal(level.rgba.begin(), level.rgba.end(), buffer.begin() + offset));
      offset += level.rgba.size();
    }
    // nothing past the 1x1 level is written
    EXPECT_TRUE(std::all_of(buffer.begin() + offset, buffer.end(), [](int b) { return b == 0xEE; }));
  }
}

}  // namespace
