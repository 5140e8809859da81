// Image files for the loader tests: real files written by ImageMagick, an
// independent decoder (stb_image), and the slot snapshots the tests compare against.
#pragma once

#include "testfiles.h"
#include "texture/texture.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// RGBA pixels, rows top first
struct image {
  int width = 0;
  int height = 0;
  bytes rgba;
};

// runs ImageMagick's convert with the given arguments; true when it succeeded
bool convertimage(const std::string &arguments);
// the file decoded to RGBA by stb_image; width 0 when it refuses the file
image stbdecode(const bytes &file);
// the image with every row reversed
image mirrored(image picture);
// level 0 of a slot
image slotimage(int slot);
// the plain box filter: each channel of each pixel of the next level is the truncated mean of
// the 2x2 block above it; along a side of 1 the block is that one pixel taken twice
image referencehalve(const image &level);
// the file in a heap block of exactly its size, so that AddressSanitizer sees any read past it
std::unique_ptr<unsigned char[]> exactcopy(const bytes &file);
// equal sizes and pixels, or a message naming the first pixel that differs
testing::AssertionResult samepicture(const image &expected, const image &actual);

// everything a failed load must leave as it was, the pixels included
struct slotstate {
  int width, height, mipmap;
  const unsigned char *data;
  bytes pixels;
  bool operator==(const slotstate &other) const
  {
    return width == other.width && height == other.height && mipmap == other.mipmap &&
           data == other.data && pixels == other.pixels;
  }
};
slotstate snapshot(int slot);
// gives a slot a small known texture, so that any change to it shows
void fillslot(int slot);
// frees every slot's buffer and empties the table
void emptytextures();

// a loader's tests: a scratch folder, and the table emptied after each
using bytesloader = int (*)(int slot, const unsigned char *bytes, size_t count, int mipmap);
template <bytesloader loader>
class loadertest : public ::testing::Test {
protected:
  scratchfolder folder;
  void TearDown() override { emptytextures(); }

  // loads the file from a block of exactly its size, so that a read past its end shows
  static int load(int slot, const bytes &file, int mipmap)
  {
    return loader(slot, exactcopy(file).get(), file.size(), mipmap);
  }
  // the file refused with the slot left as it was, and the reason given ("" for none)
  static std::string refusal(const bytes &file)
  {
    fillslot(9);
    const slotstate before = snapshot(9);
    EXPECT_EQ(load(9, file, 1), 0);
    EXPECT_TRUE(snapshot(9) == before);
    return textureloaderror() ? textureloaderror() : "";
  }
};
