// Reading "font.bmp" into slot 511 without graphics: the texels it makes, the headers it
// honours, and the malformed files it refuses, which leave the slot cleared to transparent.
#include "engine.h"
#include "fontfixture.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using texels = std::vector<unsigned char>;

constexpr size_t texelbytes = size_t(fontwidth) * fontheight * 4;

// what a font whose pixel (x, y) has the red byte red(x, y) must become
texels expectedtexels(const fontfile &file)
{
  texels out(texelbytes);
  for (int y = 0; y < fontheight; ++y)
    for (int x = 0; x < fontwidth; ++x) {
      unsigned char *t = &out[(size_t(y) * fontwidth + x) * 4];
      t[0] = t[1] = t[2] = 255;
      t[3] = y < std::abs(file.height) ? file.red(x, y) : 0;
    }
  return out;
}

texels cleared()
{
  texels out(texelbytes);
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = i % 4 == 3 ? 0 : 255;
  return out;
}

// decodes into a buffer holding a marker; 0 and the marker untouched when refused
int decode(const std::vector<unsigned char> &bytes, texels &out)
{
  out.assign(texelbytes, 0xA5);
  return decodefont(bytes.data(), bytes.size(), out.data());
}

TEST(font_decode, each_texel_is_white_with_the_red_byte_as_alpha)
{
  fontfile file;
  texels out;
  ASSERT_EQ(decode(file.bytes(), out), 1);
  texels want = expectedtexels(file);
  // rows 128 to 255 are not the decoder's business
  EXPECT_TRUE(std::equal(want.begin(), want.begin() + texelbytes / 2, out.begin()));
  EXPECT_EQ(out[texelbytes / 2], 0xA5);
  // unless the file has them, stored either way up
  for (int height : {256, -256}) {
    file.height = height;
    ASSERT_EQ(decode(file.bytes(), out), 1) << height;
    EXPECT_EQ(out, expectedtexels(file)) << height;
  }
}

TEST(font_decode, rows_stored_top_first_are_read_the_right_way_up)
{
  fontfile file;
  file.height = -128;
  texels out;
  ASSERT_EQ(decode(file.bytes(), out), 1);
  texels want = expectedtexels(file);
  EXPECT_TRUE(std::equal(want.begin(), want.begin() + texelbytes / 2, out.begin()));
}

TEST(font_decode, a_longer_header_moves_the_pixels_to_its_offset)
{
  for (uint32_t infosize : {108u, 124u}) {
    fontfile file;
    file.infosize = infosize;
    file.offset = 14 + infosize + 6;  // and a gap, as some editors leave
    texels out;
    ASSERT_EQ(decode(file.bytes(), out), 1) << infosize;
    texels want = expectedtexels(file);
    EXPECT_TRUE(std::equal(want.begin(), want.begin() + texelbytes / 2, out.begin())) << infosize;
  }
}

TEST(font_decode, a_file_that_ends_early_reads_as_opaque_white)
{
  fontfile file;
  file.red = [](int x, int y) { return uint8_t((x + y) % 200); };
  std::vector<unsigned char> bytes = file.bytes();
  bytes.resize(54 + 768 * 100 + 5);  // 100 whole rows, one whole pixel and two bytes of the next
  texels out;
  ASSERT_EQ(decode(bytes, out), 1);
  auto alpha = [&](int x, int y) { return out[(size_t(y) * 256 + x) * 4 + 3]; };
  EXPECT_EQ(alpha(5, 28), file.red(5, 28));  // the last whole row, image row 127 - 99
  EXPECT_EQ(alpha(0, 27), file.red(0, 27));  // the one whole pixel of the next
  for (int y = 0; y < 28; ++y)
    for (int x = y == 27 ? 1 : 0; x < 256; ++x)
      ASSERT_EQ(alpha(x, y), 255) << x << "," << y;
}

// every way in which a file can fail to be a 256x128 or 256x256 24-bit uncompressed BMP
TEST(font_decode, files_of_another_kind_are_refused)
{
  using bytes = std::vector<unsigned char>;
  struct malformed {
    const char *what;
    std::function<void(fontfile &)> header;  // a field written differently
    std::function<void(bytes &)> damage;     // or the written bytes changed
  };
  const std::vector<malformed> cases = {
      {"narrower", [](fontfile &f) { f.width = 255; }, nullptr},
      {"wider", [](fontfile &f) { f.width = 512; }, nullptr},
      {"taller", [](fontfile &f) { f.height = 257; }, nullptr},
      {"between", [](fontfile &f) { f.height = 192; }, nullptr},
      {"shorter", [](fontfile &f) { f.height = 64; }, nullptr},
      {"32-bit", [](fontfile &f) { f.bits = 32; }, nullptr},
      {"8-bit", [](fontfile &f) { f.bits = 8; }, nullptr},
      {"run-length compressed", [](fontfile &f) { f.compression = 1; }, nullptr},
      {"bit fields", [](fontfile &f) { f.compression = 3; }, nullptr},
      {"two planes", [](fontfile &f) { f.planes = 2; }, nullptr},
      {"OS/2 core header", [](fontfile &f) { f.infosize = 12; }, nullptr},
      {"offset inside the header", [](fontfile &f) { f.offset = 53; }, nullptr},
      {"offset inside a long header", [](fontfile &f) { f.infosize = 124; f.offset = 100; },
       nullptr},
      {"offset past the end", nullptr, [](bytes &b) { b[10] = 0xFF; b[11] = 0xFF; b[12] = 1; }},
      {"offset at the end", nullptr, [](bytes &b) { b.resize(54); }},
      {"no signature", nullptr, [](bytes &b) { b[0] = 'M'; b[1] = 'B'; }},
      {"header cut short", nullptr, [](bytes &b) { b.resize(30); }},
      {"empty", nullptr, [](bytes &b) { b.clear(); }},
  };
  for (const malformed &c : cases) {
    fontfile file;
    if (c.header)
      c.header(file);
    bytes written = file.bytes();
    if (c.damage)
      c.damage(written);
    texels out;
    EXPECT_EQ(decode(written, out), 0) << c.what;
    EXPECT_EQ(out, texels(texelbytes, 0xA5)) << c.what;
  }
}

class loadfonttest : public scratchdirtest {
protected:
  void SetUp() override
  {
    scratchdirtest::SetUp();
    windowinfo = {640, 480, 16, 0, 0, 0, 1};  // graphics off: no GL context here
  }
  void TearDown() override
  {
    settexture(fontslot, 0, 0, 0, nullptr);
    numofdatafolders = 0;
    scratchdirtest::TearDown();
  }
  static texels slot()
  {
    const textureslot &t = texture[fontslot];
    return texels(t.data, t.data + texturebytes(t.width, t.height, t.mipmap));
  }
};

std::vector<std::string> messages;  // the lines the engine handed to the test's callback

// the missing font is told to the program's message callback, else in one line on standard error
TEST_F(loadfonttest, without_a_file_the_slot_is_sized_and_transparent)
{
  messages.clear();
  setmessagecallback([](const char *line) { messages.push_back(line); });
  loadfont();
  EXPECT_EQ(texture[fontslot].width, 256);
  EXPECT_EQ(texture[fontslot].height, 256);
  EXPECT_EQ(slot(), cleared());
  ASSERT_EQ(messages.size(), 1u);  // the whole line, without its newline
  EXPECT_EQ(messages[0].find("font_test: cannot find font.bmp in the working directory"), 0u);
  EXPECT_EQ(messages[0].find('\n'), std::string::npos);
  setmessagecallback(nullptr);
  testing::internal::CaptureStderr();
  loadfont();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), messages[0] + "\n");
}

TEST_F(loadfonttest, a_malformed_file_leaves_the_slot_transparent)
{
  fontfile file;
  file.bits = 32;
  writefont(file.bytes());
  loadfont();
  EXPECT_EQ(texture[fontslot].width, 256);
  EXPECT_EQ(slot(), cleared());
}

// the slot's size and level count show in the length of its buffer
TEST_F(loadfonttest, fills_the_top_half_of_a_256_square_slot_again_on_every_load)
{
  fontfile first;
  first.height = 256;  // whose lower half the next font must not keep
  writefont(first.bytes());
  loadfont();
  fontfile second;
  second.red = [](int x, int y) { return uint8_t(x ^ y); };
  writefont(second.bytes());
  loadfont();
  EXPECT_EQ(slot(), expectedtexels(second));  // rows 128 to 255 transparent
  EXPECT_EQ(fp, nullptr);
}

TEST_F(loadfonttest, a_directory_named_font_bmp_reads_as_no_file)
{
  ASSERT_EQ(mkdir("font.bmp", 0755), 0);
  EXPECT_EQ(loadfont(), 0);
  EXPECT_EQ(slot(), cleared());
}

// a game folder's own font comes first; the data folders serve, in order, when it has none
TEST_F(loadfonttest, the_working_directory_comes_before_the_data_folders)
{
  scratchfolder empty, data;
  fontfile installed;
  writebytes(data.file("font.bmp"), installed.bytes());
  ASSERT_EQ(adddatafolder(empty.path.c_str()), 1);
  ASSERT_EQ(adddatafolder(data.path.c_str()), 1);
  EXPECT_EQ(adddatafolder(std::string(datafoldersize, 'x').c_str()), 0);
  EXPECT_EQ(loadfont(), 1);
  EXPECT_EQ(slot(), expectedtexels(installed));
  fontfile own;
  own.red = [](int x, int y) { return uint8_t(x ^ y); };
  writefont(own.bytes());
  EXPECT_EQ(loadfont(), 1);
  EXPECT_EQ(slot(), expectedtexels(own));
}

}  // namespace
