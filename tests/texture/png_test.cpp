// The PNG loader against files of every kind written by ImageMagick and read back by it, and
// hand-made files it must refuse with the slot left as it was.
#include "engine.h"
#include "imagefiles.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using pngloader = loadertest<loadtexturepngbytes>;

// ImageMagick's decoding of the file as 8-bit RGBA. A 16-bit file is read at 16 bits and each
// channel rounded to the nearest 8-bit value, as the loader takes it (ImageMagick's own -depth 8
// truncates)
bytes magickrgba(const std::string &path, const std::string &raw, int depth)
{
  EXPECT_TRUE(convertimage(path + " -endian LSB -depth " + std::to_string(depth) + " rgba:" + raw));
  const bytes decoded = readbytes(raw);
  if (depth != 16)
    return decoded;
  bytes rounded;
  for (size_t i = 0; i + 1 < decoded.size(); i += 2)
    rounded.push_back(uint8_t((decoded[i] + decoded[i + 1] * 256 + 128) / 257));
  return rounded;
}

TEST_F(pngloader, reads_every_kind_as_imagemagick_decodes_it)
{
  const std::string plasma = "-size 13x7 -seed 3 plasma: ", grey = plasma + "-colorspace Gray ",
                    alpha = "-alpha set -channel A -fx '(i*7+j*13)%256/255' +channel ",
                    binaryalpha = "-alpha set -channel A -fx '(i%3)/2' +channel ",
                    type = "-define png:color-type=", depth = " -define png:bit-depth=";
  const struct {
    std::string arguments;  // everything before the output file
    int depth, colourtype;  // what the file must hold for the row to mean anything
  } kinds[] = {
      {grey + type + "0 -depth 8", 8, 0}, {grey + type + "0" + depth + "16", 16, 0},
      {grey + type + "0" + depth + "4", 4, 0}, {grey + type + "0" + depth + "2", 2, 0},
      {grey + type + "0" + depth + "1", 1, 0},
      {"-size 6x4 gradient: -colorspace Gray -depth 8 -fill 'gray(50%)' -draw 'point 1,1' "
       "-transparent 'gray(50%)' " + type + "0", 8, 0},
      {grey + alpha + type + "4 -depth 8", 8, 4}, {plasma + type + "2 -depth 8", 8, 2},
      {"-size 6x4 xc:red -fill blue -draw 'point 1,1' -transparent blue " + type + "2", 8, 2},
      {plasma + alpha + type + "6 -depth 8", 8, 6},
      {plasma + alpha + type + "6" + depth + "16", 16, 6},
      {plasma + binaryalpha + "-colors 40 PNG8:", 8, 3},
      {plasma + binaryalpha + "-colors 8" + depth + "4 PNG8:", 4, 3},
      {plasma + "-colors 4" + depth + "2 PNG8:", 2, 3},
      {plasma + "-colors 2" + depth + "1 PNG8:", 1, 3},
      {plasma + alpha + "-interlace PNG -depth 8 " + type + "6", 8, 6},
      {grey + "-interlace PNG " + type + "0" + depth + "2", 2, 0},
      {"-size 1x1 xc:teal -interlace PNG -depth 8 " + type + "2", 8, 2},
  };
  for (const auto &kind : kinds) {
    SCOPED_TRACE(kind.arguments);
    const std::string path = folder.file("kind.png"), raw = folder.file("kind.rgba");
    ASSERT_TRUE(convertimage(kind.arguments + (kind.arguments.back() == ':' ? "" : " ") + path));
    const bytes file = readbytes(path);
    ASSERT_EQ(file[24], kind.depth);
    ASSERT_EQ(file[25], kind.colourtype);
    const image expected{int(file[19] | file[18] << 8), int(file[23] | file[22] << 8),
                         magickrgba(path, raw, kind.depth == 16 ? 16 : 8)};
    fillslot(4);
    EXPECT_EQ(load(4, file, 1), 1);
    EXPECT_TRUE(samepicture(expected, slotimage(4)));
  }
  EXPECT_STREQ(textureloadformat(), "8-bit RGB PNG, interlaced");
}

bytes bigendian(uint32_t value)
{
  return {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
}

bytes operator+(bytes a, const bytes &b)
{
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// a chunk: its length, type and data, and their CRC
bytes chunk(const std::string &type, const bytes &data)
{
  const bytes body = bytes(type.begin(), type.end()) + data;
  return bigendian(uint32_t(data.size())) + body + bigendian(uint32_t(crc32(0, body.data(),
                                                                              uInt(body.size()))));
}

bytes ihdr(uint32_t width, uint32_t height, int depth = 8, int colourtype = 6)
{
  return chunk("IHDR", bigendian(width) + bigendian(height) +
                           bytes{uint8_t(depth), uint8_t(colourtype), 0, 0, 0});
}

// raw rows deflated into one IDAT chunk
bytes idat(const bytes &rows)
{
  uLongf size = compressBound(uLong(rows.size()));
  bytes stream(size);
  compress(stream.data(), &size, rows.data(), uLong(rows.size()));
  stream.resize(size);
  return chunk("IDAT", stream);
}

TEST_F(pngloader, refuses_every_file_it_cannot_read_and_leaves_the_slot_alone)
{
  // 2x2 RGBA, the size fillslot gives the slot, so a decoder writing into it would show
  const bytes rows = {0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 9, 10, 11, 12, 13, 14, 15, 16},
              filter9 = bytes{9} + bytes(rows.begin() + 1, rows.end()), pixels = idat(rows);
  auto png = [](const bytes &chunks) {
    return bytes{137, 'P', 'N', 'G', 13, 10, 26, 10} + chunks + chunk("IEND", {});
  };
  const bytes good = png(ihdr(2, 2) + pixels);
  bytes textmode = good, badcrc = good, badtext = chunk("tEXt", {'a', 0, 'b'}),
        badtransparency = chunk("tRNS", {0, 1, 0, 2, 0, 3});
  textmode[4] = 10;               // its CR made LF
  badcrc[good.size() - 13] ^= 1;  // the last byte of the IDAT's CRC
  badtext.back() ^= 1;
  badtransparency.back() ^= 1;
  const char *size = "image size outside 1 to 16384", *damaged = "damaged PNG",
             *ends = "file ends before its last chunk";
  const struct {
    const char *name;
    bytes file;
    const char *reason;  // what textureloaderror says, or begins with
  } cases[] = {
      {"empty", {}, "not a PNG file"},
      {"a signature changed by a text transfer", textmode, "not a PNG file"},
      {"cut inside the image header", bytes(good.begin(), good.begin() + 30),
       "file too short for its header"},
      {"a palette first", png(chunk("PLTE", {0, 0, 0}) + ihdr(2, 2) + pixels),
       "no image header first"},
      {"width 0", png(ihdr(0, 2) + pixels), size},
      {"height with the top bit set", png(ihdr(1, 0x80000001u) + pixels), size},
      {"16384x16384 in 1 KB, more than deflate gives", png(ihdr(16384, 16384) +
                                                           chunk("IDAT", bytes(1024))),
       "file too short for its pixels"},
      {"a bit depth of 3", png(ihdr(2, 2, 3, 0) + pixels), damaged},
      {"no IDAT", png(ihdr(2, 2)), damaged},
      {"an IDAT's CRC wrong", badcrc, damaged},
      {"the transparency chunk's CRC wrong",
       png(ihdr(2, 2, 8, 2) + badtransparency + idat(bytes(14))), damaged},
      {"a row's filter type 9", png(ihdr(2, 2) + idat(filter9)), damaged},
      {"rows short of the image", png(ihdr(2, 3) + pixels), damaged},
      {"cut inside the IDAT", bytes(good.begin(), good.begin() + 50), ends},
      {"cut before the end chunk", bytes(good.begin(), good.end() - 12), ends},
  };
  for (const auto &test : cases) {
    SCOPED_TRACE(test.name);
    const std::string reason = refusal(test.file);
    EXPECT_EQ(reason.rfind(test.reason, 0), 0u) << reason;
  }
  // the file they were made from is taken, with a damaged chunk that the pixels do not depend
  // on, or a transparency chunk that its alpha makes idle, and an accepted load leaves no reason
  for (const bytes &file : {good, png(ihdr(2, 2) + badtext + pixels),
                            png(ihdr(2, 2) + chunk("tRNS", {0, 1, 0, 2, 0, 3}) + pixels)}) {
    EXPECT_EQ(load(9, file, 1), 1);
    EXPECT_EQ(textureloaderror(), nullptr);
    EXPECT_EQ(slotimage(9).rgba, bytes(rows.begin() + 1, rows.begin() + 9) +
                                     bytes(rows.begin() + 10, rows.end()));
  }
}

}  // namespace
