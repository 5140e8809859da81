// Image files for the loader tests: real files written by ImageMagick, an
// independent decoder (stb_image), and the slot snapshots the tests compare against.
#include "imagefiles.h"

#include "engine.h"

#include <algorithm>
#include <cstdlib>
#include <stb/stb_image.h>

bool convertimage(const std::string &arguments)
{
  // the full path: another "convert" may come first on the search path
  return std::system(("/usr/bin/convert " + arguments).c_str()) == 0;
}

image stbdecode(const bytes &file)
{
  image picture;
  int channels = 0;
  unsigned char *pixels = stbi_load_from_memory(file.data(), int(file.size()), &picture.width,
                                                &picture.height, &channels, 4);
  if (!pixels)
    return image{};
  picture.rgba.assign(pixels, pixels + size_t(picture.width) * picture.height * 4);
  stbi_image_free(pixels);
  return picture;
}

image mirrored(image picture)
{
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width / 2; ++x)
      for (int c = 0; c < 4; ++c)
        std::swap(picture.rgba[(size_t(y) * picture.width + x) * 4 + c],
                  picture.rgba[(size_t(y) * picture.width + picture.width - 1 - x) * 4 + c]);
  return picture;
}

image slotimage(int slot)
{
  const textureslot &t = texture[slot];
  image picture;
  picture.width = t.width;
  picture.height = t.height;
  if (t.data)
    picture.rgba.assign(t.data, t.data + size_t(t.width) * t.height * 4);
  return picture;
}

image referencehalve(const image &level)
{
  image down{std::max(1, level.width / 2), std::max(1, level.height / 2), {}};
  auto at = [&](int x, int y, int c) {
    x = std::min(x, level.width - 1);
    y = std::min(y, level.height - 1);
    return level.rgba[(size_t(y) * level.width + x) * 4 + c];
  };
  for (int y = 0; y < down.height; ++y)
    for (int x = 0; x < down.width; ++x)
      for (int c = 0; c < 4; ++c)
        down.rgba.push_back(uint8_t((at(2 * x, 2 * y, c) + at(2 * x + 1, 2 * y, c) +
                                     at(2 * x, 2 * y + 1, c) + at(2 * x + 1, 2 * y + 1, c)) / 4));
  return down;
}

std::unique_ptr<unsigned char[]> exactcopy(const bytes &file)
{
  std::unique_ptr<unsigned char[]> copy(new unsigned char[file.size()]);
  std::copy(file.begin(), file.end(), copy.get());
  return copy;
}

testing::AssertionResult samepicture(const image &expected, const image &actual)
{
  if (expected.width != actual.width || expected.height != actual.height)
    return testing::AssertionFailure() << "size " << actual.width << "x" << actual.height
                                       << ", expected " << expected.width << "x" << expected.height;
  for (size_t i = 0; i < expected.rgba.size(); ++i)
    if (expected.rgba[i] != actual.rgba[i])
      return testing::AssertionFailure()
             << "pixel (" << i / 4 % expected.width << ", " << i / 4 / expected.width
             << ") channel " << i % 4 << " is " << int(actual.rgba[i]) << ", expected "
             << int(expected.rgba[i]);
  return testing::AssertionSuccess();
}

slotstate snapshot(int slot)
{
  const textureslot &t = texture[slot];
  return {t.width, t.height, t.mipmap, t.data, slotimage(slot).rgba};
}

void fillslot(int slot)
{
  unsigned char *data = static_cast<unsigned char *>(malloc(texturebytes(2, 2, 1)));
  for (int i = 0; i < 16; ++i)
    data[i] = uint8_t(i * 13 + 5);
  settexture(slot, 2, 2, 1, data);
}

void emptytextures()
{
  for (int slot = 0; slot < maxtextures; ++slot)
    settexture(slot, 0, 0, 0, nullptr);
}
