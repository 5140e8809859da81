// Image files for the loader tests: a scratch folder, real files written by ImageMagick, an
// independent decoder (stb_image), and the slot snapshots the tests compare against.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

using bytes = std::vector<unsigned char>;

// RGBA pixels, rows top first
struct image {
  int width = 0;
  int height = 0;
  bytes rgba;
};

// a fresh folder under /tmp, removed with everything in it when the object goes
struct scratchfolder {
  std::string path;
  scratchfolder();
  ~scratchfolder();
  std::string file(const std::string &name) const { return path + "/" + name; }
};

bytes readbytes(const std::string &path);
void writebytes(const std::string &path, const bytes &content);
// runs ImageMagick's convert with the given arguments; true when it succeeded
bool convertimage(const std::string &arguments);
// the file decoded to RGBA by stb_image; width 0 when it refuses the file
image stbdecode(const bytes &file);
// the image with every row reversed
image mirrored(image picture);
// level 0 of a slot
image slotimage(int slot);
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
