// The BMP loader against files written by ImageMagick and read independently by stb_image, and
// against hand-made headers that it must refuse without touching the slot.
#include "engine.h"
#include "imagefiles.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <gtest/gtest.h>

namespace {

// a 24-bit file with rows bottom-up (height above 0) or top-down, pixel bytes counting up
bytes handmadebmp(int width, int height)
{
  const int rows = height < 0 ? -height : height, stride = (width * 3 + 3) & ~3;
  bytewriter file;
  file.u16(0x4D42);
  file.u32(uint32_t(54 + stride * rows));
  file.u32(0);
  file.u32(54);
  file.u32(40);
  file.u32(uint32_t(width));
  file.u32(uint32_t(height));
  file.u16(1);
  file.u16(24);
  for (int field = 0; field < 6; ++field)  // compression, image size, resolution, palette
    file.u32(0);
  for (int i = 0; i < stride * rows; ++i)
    file.u8(uint8_t(i * 7 + 3));
  return file.bytes;
}

// loads the file from a block of exactly its size, so that a read past its end shows
int loadbmp(int slot, const bytes &file, int mipmap)
{
  return loadtexturebmpbytes(slot, exactcopy(file).get(), file.size(), mipmap);
}

class bmploader : public ::testing::Test {
protected:
  scratchfolder folder;
  void TearDown() override { emptytextures(); }

  // random colours from ImageMagick; "BMP3" writes the 40-byte info header, "BMP" a long one
  bytes realbmp(int width, int height, const std::string &flavour)
  {
    std::string path = folder.file("real.bmp");
    EXPECT_TRUE(convertimage("-size " + std::to_string(width) + "x" + std::to_string(height) +
                             " -seed " + std::to_string(width * 31 + height) +
                             " plasma: -alpha off -type TrueColor " + flavour + ":" + path));
    return readbytes(path);
  }
};

TEST_F(bmploader, reads_real_files_as_an_independent_decoder_does)
{
  const int sizes[][2] = {{1, 1}, {2, 2}, {3, 5}, {5, 3}, {7, 4}, {4, 4}, {64, 33}, {1, 9}};
  for (const char *flavour : {"BMP3", "BMP"})
    for (const auto &size : sizes) {
      SCOPED_TRACE(testing::Message() << flavour << " " << size[0] << "x" << size[1]);
      bytes file = realbmp(size[0], size[1], flavour);
      ASSERT_EQ(file[14], flavour == std::string("BMP3") ? 40 : 124);  // the info header size
      EXPECT_EQ(loadbmp(3, file, size[0] & 1), 1);
      EXPECT_TRUE(samepicture(stbdecode(file), slotimage(3)));
      EXPECT_EQ(texture[3].mipmap, size[0] & 1);
      EXPECT_TRUE(std::equal(bmpheader, bmpheader + sizeof bmpheader, file.begin()));
    }
}

TEST_F(bmploader, turns_top_down_rows_the_right_way_up)
{
  bytes bottomup = realbmp(5, 3, "BMP3"), topdown = bottomup;
  const size_t stride = 16;
  for (int row = 0; row < 3; ++row)
    std::copy_n(&bottomup[54 + stride * (2 - row)], stride, &topdown[54 + stride * row]);
  putle32(topdown, 22, uint32_t(-3));
  ASSERT_EQ(loadbmp(1, topdown, 0), 1);
  EXPECT_TRUE(samepicture(stbdecode(bottomup), slotimage(1)));
  EXPECT_TRUE(samepicture(stbdecode(topdown), slotimage(1)));
  EXPECT_STREQ(textureloadformat(), "24-bit BMP, top-down");
  topdown.resize(20);
  EXPECT_EQ(loadbmp(1, topdown, 0), 0);
  EXPECT_EQ(textureloadformat(), nullptr);
}

TEST_F(bmploader, gives_slot_sixteen_half_alpha_and_every_other_slot_full)
{
  // 9 wide: the first pixels of each row go through the four-at-a-time conversion
  bytes file = realbmp(9, 2, "BMP3");
  ASSERT_EQ(loadbmp(dimmedbmpslot, file, 0), 1);
  image expected = stbdecode(file);
  for (size_t i = 3; i < expected.rgba.size(); i += 4)
    expected.rgba[i] = 128;
  EXPECT_TRUE(samepicture(expected, slotimage(dimmedbmpslot)));
}

TEST_F(bmploader, takes_the_pixels_from_the_offset_the_header_gives)
{
  bytes file = realbmp(3, 2, "BMP3"), spaced = file;
  spaced.insert(spaced.begin() + 54, 12, 0xEE);  // a colour table a 24-bit file need not have
  putle32(spaced, 10, 66);
  ASSERT_EQ(loadbmp(2, spaced, 0), 1);
  EXPECT_TRUE(samepicture(stbdecode(file), slotimage(2)));
}

TEST_F(bmploader, accepts_a_last_row_without_its_padding_and_reads_no_further)
{
  for (int width : {1, 2, 3, 5, 9}) {
    SCOPED_TRACE(width);
    const int padding = (4 - width * 3 % 4) % 4;
    bytes whole = handmadebmp(width, 2), cut(whole.begin(), whole.end() - padding);
    ASSERT_EQ(loadbmp(2, whole, 0), 1);
    image expected = slotimage(2);
    EXPECT_EQ(loadbmp(2, cut, 0), 1);
    EXPECT_TRUE(samepicture(expected, slotimage(2)));
  }
}

TEST_F(bmploader, refuses_sides_past_the_limit_even_with_all_their_pixels)
{
  // every byte the rows need is there, so only the side limit can refuse these
  const int sides[][2] = {{16385, 1}, {1, 16385}, {1, -16385}};
  for (const auto &side : sides) {
    SCOPED_TRACE(testing::Message() << side[0] << "x" << side[1]);
    fillslot(7);
    slotstate before = snapshot(7);
    EXPECT_EQ(loadbmp(7, handmadebmp(side[0], side[1]), 0), 0);
    EXPECT_TRUE(snapshot(7) == before);
  }
  EXPECT_EQ(loadbmp(7, handmadebmp(16384, 1), 0), 1);
  EXPECT_EQ(loadbmp(7, handmadebmp(1, -16384), 0), 1);
}

TEST_F(bmploader, refuses_slots_outside_the_table_and_the_fonts_without_reading_the_file)
{
  const bytes first = handmadebmp(2, 2), second = handmadebmp(3, 1);
  ASSERT_EQ(loadbmp(3, first, 0), 1);
  fillslot(fontslot);
  slotstate font = snapshot(fontslot);
  for (int slot : {-1, fontslot, maxtextures}) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(loadbmp(slot, second, 1), 0);
    EXPECT_STREQ(textureloaderror(), "slot outside 0 to 510");
    EXPECT_TRUE(snapshot(fontslot) == font);
    EXPECT_TRUE(std::equal(bmpheader, bmpheader + sizeof bmpheader, first.begin()));
  }
}

TEST_F(bmploader, refuses_every_header_it_cannot_read_and_leaves_the_slot_alone)
{
  const char *notbmp24 = "not a 24-bit uncompressed BMP", *size = "image size outside 1 to 16384",
             *offset = "pixel offset outside the file", *pixels = "file too short for its pixels",
             *header = "file too short for its header";
  const struct {
    const char *name;
    std::function<void(bytes &)> spoil;
    const char *reason;  // what textureloaderror says
  } cases[] = {
      {"not BM", [](bytes &f) { f[1] = 'A'; }, "not a BMP file"},
      {"32 bits", [](bytes &f) { f[28] = 32; }, notbmp24},
      {"run-length compressed", [](bytes &f) { putle32(f, 30, 1); }, notbmp24},
      {"bit fields", [](bytes &f) { putle32(f, 30, 3); }, notbmp24},
      {"the 12-byte header", [](bytes &f) { putle32(f, 14, 12); }, "unsupported info header"},
      {"width 0", [](bytes &f) { putle32(f, 18, 0); }, size},
      {"negative width", [](bytes &f) { putle32(f, 18, uint32_t(-4)); }, size},
      {"width whose bytes overflow", [](bytes &f) { putle32(f, 18, 0x55555556); }, size},
      {"height 0", [](bytes &f) { putle32(f, 22, 0); }, size},
      {"height INT_MIN", [](bytes &f) { putle32(f, 22, uint32_t(INT_MIN)); }, size},
      {"the largest sides in a small file",
       [](bytes &f) { putle32(f, 18, 16384); putle32(f, 22, 16384); }, pixels},
      {"pixels at 53", [](bytes &f) { putle32(f, 10, 53); }, offset},
      {"pixels at 0", [](bytes &f) { putle32(f, 10, 0); }, offset},
      {"pixels inside the long header", [](bytes &f) { putle32(f, 14, 108); }, offset},
      {"pixels at the end of the file", [](bytes &f) { putle32(f, 10, uint32_t(f.size())); },
       offset},
      {"pixels far past the end", [](bytes &f) { putle32(f, 10, 0xFFFFFFFF); }, offset},
      {"one pixel byte short", [](bytes &f) { f.resize(f.size() - 4); }, pixels},
      {"header only", [](bytes &f) { f.resize(54); }, offset},
      {"cut inside the header", [](bytes &f) { f.resize(20); }, header},
      {"empty", [](bytes &f) { f.clear(); }, header},
  };
  for (const auto &test : cases)
    for (bool samesize : {false, true}) {  // a slot of the file's size lends it its buffer
      SCOPED_TRACE(testing::Message() << test.name << (samesize ? ", slot of the same size" : ""));
      bytes file = handmadebmp(3, 2);  // rows of 9 bytes and 3 of padding
      if (samesize)
        ASSERT_EQ(loadbmp(7, handmadebmp(3, -2), 1), 1);
      else
        fillslot(7);
      test.spoil(file);
      slotstate before = snapshot(7);
      EXPECT_EQ(loadbmp(7, file, 1), 0);
      EXPECT_TRUE(snapshot(7) == before);
      EXPECT_STREQ(textureloaderror(), test.reason);
    }
}

}  // namespace
