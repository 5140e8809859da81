// Screenshots of a known picture decoded by an independent BMP reader, the search for a free
// name, and saves that fail without leaving a file behind.
#include "engine.h"
#include "glwindow.h"

#include "testfiles.h"

#include <GL/gl.h>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>

namespace {

using names = std::set<std::string>;

void writetext(const std::string &path, const std::string &text)
{
  std::ofstream(path) << text;
}

std::string readtext(const std::string &path)
{
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

names entries(const std::string &path = ".")
{
  names found;
  if (DIR *dir = opendir(path.c_str())) {
    while (dirent *entry = readdir(dir))
      if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, ".."))
        found.insert(entry->d_name);
    closedir(dir);
  }
  return found;
}

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

// the file of a width x height screenshot against the window's bottom-left corner of that size
void expectsamepicture(const char *path, int width, int height)
{
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
  bytes file = readbytes(path);
  rgba bottomleft = readpixel(0, height - 1);
  ASSERT_GE(file.size(), 57u);
  EXPECT_EQ(file[54], bottomleft.b);
  EXPECT_EQ(file[55], bottomleft.g);
  EXPECT_EQ(file[56], bottomleft.r);
}

TEST_F(screenshots, a_picture_comes_back_pixel_for_pixel)
{
  drawpicture();
  ASSERT_EQ(screenshot(), 1);
  expectsamepicture("scsht000.bmp", 640, 480);
}

TEST_F(screenshots, rows_of_any_width_are_padded_to_four_bytes_whatever_the_pack_state)
{
  drawpicture();
  setwindow(637, 5);
  glPixelStorei(GL_PACK_ALIGNMENT, 8);
  glPixelStorei(GL_PACK_ROW_LENGTH, 700);
  ASSERT_EQ(screenshot(), 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  EXPECT_EQ(readbytes("scsht000.bmp").size(), 54u + 1912 * 5);
  expectsamepicture("scsht000.bmp", 637, 5);
  setwindow(1, 3);
  ASSERT_EQ(screenshot(), 1);
  expectsamepicture("scsht001.bmp", 1, 3);
}

TEST_F(screenshots, a_red_window_gives_the_documented_header_and_blue_green_red_bytes)
{
  clearframe();
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  ASSERT_EQ(screenshot(), 1);
  bytes file = readbytes("scsht000.bmp");
  ASSERT_EQ(file.size(), 921654u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(le32at(file, 2), 921654u);
  EXPECT_EQ(le32at(file, 10), 54u);
  EXPECT_EQ(le32at(file, 18), 640u);
  EXPECT_EQ(le32at(file, 22), 480u);
  EXPECT_EQ(le32at(file, 34), 921600u);
  bytes red = {0x00, 0x00, 0xFF};
  int wrong = 0;
  for (size_t at = 54; at < file.size(); at += 3)
    wrong += !std::equal(red.begin(), red.end(), file.begin() + long(at));
  EXPECT_EQ(wrong, 0);
}

TEST_F(screenshots, the_largest_window_fits_and_a_larger_one_is_refused)
{
  setwindow(1280, 960);
  ASSERT_EQ(screenshot(), 1);
  EXPECT_EQ(readbytes("scsht000.bmp").size(), 54u + 1280 * 960 * 3);
  for (auto size : {std::pair{1281, 960}, {1280, 961}, {0, 480}, {640, -1}}) {
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
  ASSERT_EQ(screenshot(), 1);
  EXPECT_EQ(entries(), (names{"scsht000.bmp", "scsht001.bmp", "scsht002.bmp", "scsht003.bmp"}));
  ASSERT_EQ(screenshot(), 1);
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

TEST_F(screenshots, when_every_name_is_taken_nothing_is_written)
{
  setwindow(4, 4);
  char name[16];
  for (int n = 0; n < 1000; ++n) {
    snprintf(name, sizeof name, "scsht%03d.bmp", n);
    writetext(name, name);
  }
  EXPECT_EQ(screenshot(), 0);
  EXPECT_EQ(entries().size(), 1000u);
  EXPECT_EQ(readtext("scsht999.bmp"), "scsht999.bmp");
}

// a small file system of its own in the scratch directory, entered for the test
class screenshotsonsmalldisk : public screenshots {
protected:
  void mountdisk(unsigned long flags)
  {
    ASSERT_EQ(mkdir("disk", 0755), 0);
    if (mount("tmpfs", "disk", "tmpfs", flags, "size=64k") != 0)
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

TEST_F(screenshotsonsmalldisk, a_full_disk_leaves_no_partial_file)
{
  mountdisk(0);
  EXPECT_EQ(screenshot(), 0);
  EXPECT_EQ(entries(), names{});
  setwindow(4, 4);
  EXPECT_EQ(screenshot(), 1) << "the disk has room for a small one";
}

TEST_F(screenshotsonsmalldisk, a_directory_that_refuses_new_files_gets_none)
{
  mountdisk(MS_RDONLY);
  EXPECT_EQ(screenshot(), 0);
  EXPECT_EQ(entries(), names{});
}

}  // namespace
