// Screenshots of a known picture decoded by an independent BMP reader, the search for a free
// name, and saves that fail without leaving a file behind.
#define GL_GLEXT_PROTOTYPES
#include "engine.h"
#include "glwindow.h"

#include "testfiles.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>

namespace {

using names = std::set<std::string>;

// a smooth blend of four corner colours over the whole window, red at the bottom left
void drawpicture()
{
  glViewport(0, 0, 640, 480);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glShadeModel(GL_SMOOTH);
  glBegin(GL_QUADS);
  glColor3ub(255, 0, 0);
  glVertex2f(-1, -1);
  glColor3ub(0, 255, 64);
  glVertex2f(1, -1);
  glColor3ub(0, 32, 255);
  glVertex2f(1, 1);
  glColor3ub(255, 255, 255);
  glVertex2f(-1, 1);
  glEnd();
}

class screenshots : public ::testing::Test {
protected:
  scratchworkdir dir;

  void setwindow(int width, int height)
  {
    windowinfo.width = width;
    windowinfo.height = height;
  }
  void TearDown() override { setwindow(640, 480); }
};

// every field of the 54-byte header of a width x height screenshot, whose rows are padded to
// a multiple of four bytes, and the pad bytes, which must all be zero
void expectbmpfile(const bytes &file, int width, int height)
{
  const uint32_t rowbytes = (uint32_t(width) * 3 + 3) / 4 * 4;
  const uint32_t imagebytes = rowbytes * uint32_t(height);
  ASSERT_EQ(file.size(), 54 + imagebytes) << width << "x" << height;
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(le32at(file, 2), 54 + imagebytes) << "file size";
  EXPECT_EQ(le32at(file, 6), 0u) << "reserved";
  EXPECT_EQ(le32at(file, 10), 54u) << "offset of the pixels";
  EXPECT_EQ(le32at(file, 14), 40u) << "information header size";
  EXPECT_EQ(le32at(file, 18), uint32_t(width));
  EXPECT_EQ(le32at(file, 22), uint32_t(height));
  EXPECT_EQ(le32at(file, 26), 1u | 24u << 16) << "planes and bits per pixel";
  EXPECT_EQ(le32at(file, 30), 0u) << "compression";
  EXPECT_EQ(le32at(file, 34), imagebytes) << "image size";
  for (size_t at = 38; at < 54; at += 4)
    EXPECT_EQ(le32at(file, at), 0u) << "offset " << at;
  int nonzeropad = 0;
  for (int y = 0; y < height; ++y)
    for (uint32_t pad = uint32_t(width) * 3; pad < rowbytes; ++pad)
      nonzeropad += file[54 + y * rowbytes + pad] != 0;
  EXPECT_EQ(nonzeropad, 0) << width << "x" << height;
}

// the file of a width x height screenshot against the window's bottom-left corner of that size
void expectsamepicture(const char *path, int width, int height)
{
  bytes file = readbytes(path);
  expectbmpfile(file, width, height);
  int decodedwidth, decodedheight, channels;
  unsigned char *decoded = stbi_load(path, &decodedwidth, &decodedheight, &channels, 3);
  ASSERT_NE(decoded, nullptr) << stbi_failure_reason();
  EXPECT_EQ(decodedwidth, width);
  EXPECT_EQ(decodedheight, height);
  std::vector<uint8_t> window = readframe();  // the same corner, rows top first
  int wrong = 0;
  for (int i = 0; i < width * height && decodedwidth == width && decodedheight == height; ++i)
    wrong += memcmp(&decoded[i * 3], &window[i * 4], 3) != 0;
  EXPECT_EQ(wrong, 0) << "pixels differ";
  stbi_image_free(decoded);

  // the first pixel stored is the bottom-left one, blue first
  rgba bottomleft = readpixel(0, height - 1);
  ASSERT_GE(file.size(), 57u);
  EXPECT_EQ(file[54], bottomleft.b);
  EXPECT_EQ(file[55], bottomleft.g);
  EXPECT_EQ(file[56], bottomleft.r);
}

int packinteger(GLenum name)
{
  int value;
  glGetIntegerv(name, &value);
  return value;
}

TEST_F(screenshots, a_picture_comes_back_pixel_for_pixel)
{
  drawpicture();
  ASSERT_EQ(screenshot(), 1);
  expectsamepicture("scsht000.bmp", 640, 480);
}

TEST_F(screenshots, rows_need_one_two_or_three_zero_pad_bytes)
{
  drawpicture();
  int number = 0;
  for (int width : {637, 638, 639, 1}) {
    setwindow(width, 5);
    ASSERT_EQ(screenshot(), 1);
    char name[16];
    snprintf(name, sizeof name, "scsht%03d.bmp", number++);
    expectsamepicture(name, width, 5);
  }
}

TEST_F(screenshots, the_callers_pack_state_neither_spreads_the_rows_nor_is_lost)
{
  drawpicture();
  setwindow(637, 5);
  const std::pair<GLenum, int> caller[] = {{GL_PACK_ALIGNMENT, 8},
                                           {GL_PACK_ROW_LENGTH, 700},
                                           {GL_PACK_SKIP_ROWS, 3},
                                           {GL_PACK_SKIP_PIXELS, 5}};
  for (auto [name, value] : caller)
    glPixelStorei(name, value);
  ASSERT_EQ(screenshot(), 1);
  for (auto [name, value] : caller)
    EXPECT_EQ(packinteger(name), value) << "pack state 0x" << std::hex << name;
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glPixelStorei(GL_PACK_SKIP_ROWS, 0);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
  expectsamepicture("scsht000.bmp", 637, 5);
}

TEST_F(screenshots, a_read_back_that_gl_refuses_creates_no_file)
{
  // with a pack buffer bound, the read goes to an offset far past its end and fails
  GLuint buffer;
  glGenBuffers(1, &buffer);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
  glBufferData(GL_PIXEL_PACK_BUFFER, 16, nullptr, GL_STREAM_READ);
  EXPECT_EQ(screenshot(), 0);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  glDeleteBuffers(1, &buffer);
  EXPECT_EQ(entries(), names{});

  // an error the caller left unread is not taken for the read's
  glEnable(GL_TEXTURE_MATRIX);  // not a capability: GL_INVALID_ENUM
  EXPECT_EQ(screenshot(), 1);
  EXPECT_EQ(entries(), names{"scsht000.bmp"});
}

TEST_F(screenshots, windows_of_any_size_are_saved_and_empty_ones_refused)
{
  setwindow(1921, 1081);  // larger than the buffer, and a padded row
  ASSERT_EQ(screenshot(), 1);
  expectbmpfile(readbytes("scsht000.bmp"), 1921, 1081);
  for (auto size : {std::pair{0, 480}, {640, -1}, {262145, 1}}) {
    setwindow(size.first, size.second);
    EXPECT_EQ(screenshot(), 0) << size.first << "x" << size.second;
  }
  EXPECT_EQ(entries(), names{"scsht000.bmp"});
}

TEST_F(screenshots, names_count_up_and_gaps_are_filled_first)
{
  setwindow(4, 4);
  ASSERT_EQ(screenshot(), 1);
  ASSERT_EQ(screenshot(), 1);
  EXPECT_EQ(entries(), (names{"scsht000.bmp", "scsht001.bmp"}));

  ASSERT_EQ(unlink("scsht000.bmp"), 0);
  writetext("scsht003.bmp", "kept");
  ASSERT_EQ(screenshot(), 1);
  EXPECT_STREQ(screenshotname, "scsht000.bmp");
  ASSERT_EQ(screenshot(), 1);
  EXPECT_EQ(entries(), (names{"scsht000.bmp", "scsht001.bmp", "scsht002.bmp", "scsht003.bmp"}));
  ASSERT_EQ(screenshot(), 1);
  EXPECT_STREQ(screenshotname, "scsht004.bmp");
  EXPECT_EQ(entries().count("scsht004.bmp"), 1u);
  EXPECT_EQ(readtext("scsht003.bmp"), "kept");
}

TEST_F(screenshots, links_and_directories_in_the_way_are_passed_over)
{
  setwindow(4, 4);
  ASSERT_EQ(symlink("target.bmp", "scsht000.bmp"), 0);
  ASSERT_EQ(mkdir("scsht001.bmp", 0755), 0);
  ASSERT_EQ(screenshot(), 1);
  EXPECT_EQ(entries(), (names{"scsht000.bmp", "scsht001.bmp", "scsht002.bmp"}));
  EXPECT_EQ(entries("scsht001.bmp"), names{});
}

TEST_F(screenshots, the_last_name_is_used_and_then_nothing_is_written)
{
  setwindow(4, 4);
  char name[16];
  for (int n = 0; n < 999; ++n) {
    snprintf(name, sizeof name, "scsht%03d.bmp", n);
    writetext(name, name);
  }
  EXPECT_EQ(screenshot(), 1);
  EXPECT_EQ(readbytes("scsht999.bmp").size(), 54u + 4 * 4 * 3);
  EXPECT_EQ(screenshot(), 0);
  EXPECT_STREQ(screenshotname, "");
  EXPECT_EQ(entries().size(), 1000u);
  EXPECT_EQ(readtext("scsht998.bmp"), "scsht998.bmp");
}

// a small file system of its own in the scratch directory, entered for the test
class screenshotsonsmalldisk : public screenshots {
protected:
  virtual unsigned long mountflags() const { return 0; }
  void SetUp() override
  {
    ASSERT_EQ(mkdir("disk", 0755), 0);
    if (mount("tmpfs", "disk", "tmpfs", mountflags(), "size=64k") != 0)
      GTEST_SKIP() << "cannot mount a tmpfs here (needs root): " << strerror(errno);
    mounted = true;
    ASSERT_EQ(chdir("disk"), 0);
  }
  void TearDown() override
  {
    screenshots::TearDown();
    if (mounted) {
      EXPECT_EQ(chdir(dir.path.c_str()), 0);
      umount("disk");
    }
  }
  bool mounted = false;
};

class screenshotsonreadonlydisk : public screenshotsonsmalldisk {
protected:
  unsigned long mountflags() const override { return MS_RDONLY; }
};

TEST_F(screenshotsonsmalldisk, a_full_disk_leaves_no_partial_file)
{
  EXPECT_EQ(screenshot(), 0);
  EXPECT_EQ(entries(), names{});
  setwindow(4, 4);
  EXPECT_EQ(screenshot(), 1) << "the disk has room for a small one";
}

TEST_F(screenshotsonreadonlydisk, a_directory_that_refuses_new_files_gets_none)
{
  EXPECT_EQ(screenshot(), 0);
  EXPECT_EQ(entries(), names{});
}

}  // namespace
