// The TGA loader against files written by ImageMagick and read independently by stb_image,
// hand-made files for the pixel orders, skipped fields and runs, and headers it must refuse.
#include "engine.h"
#include "imagefiles.h"

#include "texture/imageload.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uint8_t topfirst = 0x20, rightfirst = 0x10;

// an 18-byte header; the fields a test changes come first
bytes tgaheader(int width, int height, int depth, int type = 2, int descriptor = 0)
{
  bytewriter file;
  file.u8(0);           // no image ID
  file.u8(0);           // no colour map
  file.u8(uint8_t(type));
  file.u16(0);
  file.u16(0);
  file.u8(0);
  file.u32(0);          // origin
  file.u16(uint16_t(width));
  file.u16(uint16_t(height));
  file.u8(uint8_t(depth));
  file.u8(uint8_t(descriptor));
  return file.bytes;
}

bytes append(bytes file, const bytes &more)
{
  file.insert(file.end(), more.begin(), more.end());
  return file;
}

// one RGBA picture of four distinct pixels, given in file order A, B, C, D as blue-green-red
const bytes abcd = {10, 11, 12, 20, 21, 22, 30, 31, 32, 40, 41, 42};
image picture2x2(int a, int b, int c, int d)
{
  image p{2, 2, {}};
  for (int n : {a, b, c, d})
    p.rgba.insert(p.rgba.end(), {uint8_t(n * 10 + 2), uint8_t(n * 10 + 1), uint8_t(n * 10), 255});
  return p;
}

class tgaloader : public loadertest<loadtexturetgabytes> {
protected:
  image loaded(const bytes &file, int slot = 4)
  {
    EXPECT_EQ(load(slot, file, 0), 1);
    return slotimage(slot);
  }
};

TEST_F(tgaloader, reads_real_files_as_an_independent_decoder_does)
{
  // plasma has few repeats (literal packets); the block has long runs across its rows
  const std::string sources[] = {"-size 5x3 -seed 5 plasma:", "-size 1x1 xc:teal",
                                 "-size 3x7 -seed 9 plasma:",
                                 "-size 150x4 xc:red -fill blue -draw 'rectangle 20,1 140,2'"};
  const std::string depths[] = {"-alpha off -type TrueColor",
                                "-alpha set -channel A -fx '(i*7+j*13)%256/255' +channel"};
  for (const std::string &source : sources)
    for (const std::string &depth : depths)
      for (const char *compression : {"None", "RLE"})
        for (const char *origin : {"TopLeft", "TopRight", "BottomLeft", "BottomRight"}) {
          SCOPED_TRACE(source + " " + depth + " " + compression + " " + origin);
          std::string path = folder.file("real.tga");
          ASSERT_TRUE(convertimage(source + " " + depth + " -compress " + compression +
                                   " -orient " + origin + " " + path));
          bytes file = readbytes(path);
          image expected = stbdecode(file);
          // stb_image does not read the right-to-left bit
          if (file[17] & rightfirst)
            expected = mirrored(expected);
          EXPECT_TRUE(samepicture(expected, loaded(file)));
        }
}

TEST_F(tgaloader, places_the_first_pixel_at_the_origin_the_descriptor_names)
{
  const struct {
    int descriptor;
    image picture;
    const char *format;
  } origins[] = {
      {0, picture2x2(3, 4, 1, 2), "24-bit TGA, origin bottom left"},
      {rightfirst, picture2x2(4, 3, 2, 1), "24-bit TGA, origin bottom right"},
      {topfirst, picture2x2(1, 2, 3, 4), "24-bit TGA, origin top left"},
      {topfirst | rightfirst, picture2x2(2, 1, 4, 3), "24-bit TGA, origin top right"},
  };
  for (const auto &origin : origins) {
    EXPECT_TRUE(samepicture(origin.picture,
                            loaded(append(tgaheader(2, 2, 24, 2, origin.descriptor), abcd))));
    EXPECT_STREQ(textureloadformat(), origin.format);
  }
}

TEST_F(tgaloader, skips_the_image_id_and_a_colour_map)
{
  bytes file = tgaheader(2, 2, 24, 2, topfirst);
  file[0] = 10;     // ID length
  file[1] = 1;      // a colour map...
  file[6] = 1;      // ...of 256 entries
  file[7] = 15;     // of 15 bits, each in 2 whole bytes
  file.insert(file.end(), 10 + 512, 0x99);
  EXPECT_TRUE(samepicture(picture2x2(1, 2, 3, 4), loaded(append(file, abcd))));
}

TEST_F(tgaloader, keeps_each_alpha_byte_whatever_the_alpha_bit_count_says)
{
  const bytes pixels = {1, 2, 3, 0, 4, 5, 6, 77};
  for (int alphabits : {0, 8}) {
    image slot = loaded(append(tgaheader(2, 1, 32, 2, topfirst | alphabits), pixels));
    EXPECT_TRUE(samepicture(image{2, 1, {3, 2, 1, 0, 6, 5, 4, 77}}, slot)) << alphabits;
  }
}

TEST_F(tgaloader, carries_runs_across_rows_and_drops_what_lies_past_the_image)
{
  // a run of 3 A fills row 0 and starts row 1; a literal B ends it; a run of 128 more is dropped
  const bytes packets = {0x82, 10, 11, 12, 0x00, 20, 21, 22, 0xFF, 30, 31, 32};
  image expected = picture2x2(1, 1, 1, 2);
  EXPECT_TRUE(samepicture(expected, loaded(append(tgaheader(2, 2, 24, 10, topfirst), packets))));
  EXPECT_STREQ(textureloadformat(), "24-bit run-length TGA, origin top left");
}

TEST_F(tgaloader, refuses_every_header_it_cannot_read_and_leaves_the_slot_alone)
{
  const bytes plain = append(tgaheader(2, 2, 24), abcd);
  const bytes runs = append(tgaheader(2, 2, 24, 10), {0x83, 1, 2, 3});
  const char *type = "not a true-colour TGA", *depth = "not a 24- or 32-bit TGA",
             *size = "image size outside 1 to 16384", *pixels = "file too short for its pixels",
             *header = "file too short for its header";
  const struct {
    const char *name;
    bytes file;
    const char *reason;  // what textureloaderror says
  } cases[] = {
      {"no image", append(tgaheader(2, 2, 24, 0), abcd), type},
      {"colour-mapped", append(tgaheader(2, 2, 24, 1), abcd), type},
      {"grey-scale", append(tgaheader(2, 2, 24, 3), abcd), type},
      {"colour-mapped runs", append(tgaheader(2, 2, 24, 9), abcd), type},
      {"grey-scale runs", append(tgaheader(2, 2, 24, 11), abcd), type},
      {"8 bits", append(tgaheader(2, 2, 8), abcd), depth},
      {"16 bits", append(tgaheader(2, 2, 16), abcd), depth},
      {"15 bits", append(tgaheader(2, 2, 15), abcd), depth},
      {"width 0", append(tgaheader(0, 2, 24), abcd), size},
      {"height 0", append(tgaheader(2, 0, 24), abcd), size},
      {"width past the limit with all its pixels", append(tgaheader(16385, 1, 24),
                                                          bytes(16385 * 3, 7)), size},
      {"height past the limit with all its pixels", append(tgaheader(1, 16385, 32),
                                                           bytes(16385 * 4, 7)), size},
      {"33000x23000 in its header alone", tgaheader(33000, 23000, 32), size},
      {"16384x16384 in its header alone", tgaheader(16384, 16384, 32), pixels},
      {"runs too few for the image", append(tgaheader(16384, 16384, 32, 10), {0xFF, 1, 2, 3, 4}),
       pixels},
      {"one pixel byte short", bytes(plain.begin(), plain.end() - 1), pixels},
      {"a run cut short", bytes(runs.begin(), runs.end() - 1), pixels},
      {"runs ending a row early", append(tgaheader(2, 2, 24, 10), {0x82, 1, 2, 3, 0x00}),
       "run-length packets end before the image"},
      {"an ID past the end", [&] { bytes f = plain; f[0] = 200; return f; }(), header},
      {"a colour map past the end",
       [&] { bytes f = plain; f[5] = f[6] = 0xFF; f[7] = 32; return f; }(), header},
      {"cut inside the header", bytes(plain.begin(), plain.begin() + 17), header},
      {"empty", {}, header},
  };
  for (const auto &test : cases) {
    SCOPED_TRACE(test.name);
    EXPECT_EQ(refusal(test.file), test.reason);
  }
  // the sides at the limit are taken, and an accepted load leaves no reason behind
  EXPECT_EQ(load(9, append(tgaheader(16384, 1, 24), bytes(16384 * 3, 7)), 0), 1);
  EXPECT_EQ(textureloaderror(), nullptr);
}

TEST_F(tgaloader, asks_runs_for_one_full_run_a_packet_at_the_least)
{
  EXPECT_EQ(leastrunbytes(1, 3), 4u);
  EXPECT_EQ(leastrunbytes(128, 3), 4u);
  EXPECT_EQ(leastrunbytes(129, 4), 10u);
  EXPECT_EQ(leastrunbytes(size_t(16384) * 16384, 4), size_t(16384) * 16384 / 128 * 5);
  // two full runs are the least a 16x16 image can take, and they are enough
  EXPECT_TRUE(samepicture(image{16, 16, bytes(16 * 16 * 4, 255)},
                          loaded(append(tgaheader(16, 16, 24, 10), {0xFF, 255, 255, 255, 0xFF,
                                                                    255, 255, 255}))));
}

// the most the process's resident memory grows while f runs, measured in a child
long peakgrowth(const std::function<void()> &f)
{
  int pipes[2];
  if (pipe(pipes) != 0)
    return -1;
  pid_t child = fork();
  if (child == 0) {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    long before = usage.ru_maxrss;
    f();
    getrusage(RUSAGE_SELF, &usage);
    long growth = (usage.ru_maxrss - before) * 1024;
    _exit(write(pipes[1], &growth, sizeof growth) == sizeof growth ? 0 : 1);
  }
  close(pipes[1]);
  long growth = -1;
  if (read(pipes[0], &growth, sizeof growth) != sizeof growth)
    growth = -1;
  close(pipes[0]);
  waitpid(child, nullptr, 0);
  return growth;
}

TEST_F(tgaloader, refuses_slots_outside_the_table_and_the_fonts_before_allocating)
{
  // 16384x16384 in full runs: 10 MB of file for a gigabyte of pixels
  bytes packets;
  for (int i = 0; i < 16384 * 16384 / 128; ++i)
    packets.insert(packets.end(), {0xFF, 1, 2, 3, 4});
  const bytes huge = append(tgaheader(16384, 16384, 32, 10), packets);
  fillslot(fontslot);
  slotstate font = snapshot(fontslot);
  for (int slot : {-1, fontslot, maxtextures}) {
    SCOPED_TRACE(slot);
    EXPECT_LT(peakgrowth([&] { loadtexturetgabytes(slot, huge.data(), huge.size(), 1); }),
              64L << 20);
    EXPECT_EQ(load(slot, append(tgaheader(2, 2, 24), abcd), 0), 0);
    EXPECT_TRUE(snapshot(fontslot) == font);
  }
}

}  // namespace
