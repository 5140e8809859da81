// The whole factor a fixed window is shown larger by on a large screen over SDL2.
#include "engine.h"

#include <gtest/gtest.h>

namespace {

TEST(windowscaling, the_largest_whole_factor_within_two_thirds_of_the_screen)
{
  const struct { int screenwidth, screenheight, width, height, factor; } rows[] = {
      {3840, 2160, 640, 480, 3},  // 1920x1440
      {3200, 1800, 640, 480, 2},  // a factor of 2.5 is no whole one
      {2560, 1440, 640, 480, 2},
      {1920, 1200, 640, 480, 1},
      {1920, 1080, 640, 480, 1},
      {1024, 768, 640, 480, 1},
      {800, 600, 640, 480, 1},    // no smaller than asked for
      {7680, 2160, 640, 480, 3},  // the shorter side decides
      {3840, 2160, 1024, 768, 1},
      {0, 0, 640, 480, 1},        // a screen of unknown size
      {3840, 2160, 0, 0, 1},      // a size the platform chooses
      {3840, 2160, -640, 480, 1},
  };
  for (const auto &row : rows)
    EXPECT_EQ(windowscaling(row.screenwidth, row.screenheight, row.width, row.height), row.factor)
        << row.screenwidth << "x" << row.screenheight << " " << row.width << "x" << row.height;
}

}  // namespace
