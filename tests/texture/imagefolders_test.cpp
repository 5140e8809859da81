// Where the loaders find their files: inside "texture" or "texturelow" without entering them,
// the plain path when there is no such folder, and a missing file that changes nothing.
#include "engine.h"
#include "imagefiles.h"

#include <climits>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class imagefolders : public ::testing::Test {
protected:
  scratchworkdir folder;

  void TearDown() override { emptytextures(); }
  // a one-pixel image file of the given colour
  static void onepixel(const std::string &colour, const std::string &path)
  {
    ASSERT_TRUE(convertimage("-size 1x1 xc:" + colour + " -type TrueColor " + path));
  }
  static std::string here()
  {
    char path[PATH_MAX];
    return getcwd(path, sizeof path) ? path : "";
  }
  static bytes pixel(int r, int g, int b) { return {uint8_t(r), uint8_t(g), uint8_t(b), 255}; }
};

TEST_F(imagefolders, look_inside_a_linked_texture_folder_without_entering_it)
{
  // entering a linked folder and then ".." would leave the program somewhere else
  ASSERT_EQ(mkdir("elsewhere", 0755), 0);
  ASSERT_EQ(mkdir("elsewhere/images", 0755), 0);
  ASSERT_EQ(symlink("elsewhere/images", "texture"), 0);
  onepixel("red", "texture/a.bmp");
  onepixel("blue", "a.bmp");
  const std::string before = here();
  loadtexturebmp(1, "a.bmp", 0);
  EXPECT_EQ(slotimage(1).rgba, pixel(255, 0, 0));
  EXPECT_EQ(here(), before);
}

TEST_F(imagefolders, take_the_low_detail_tga_from_texturelow)
{
  ASSERT_EQ(mkdir("texture", 0755), 0);
  ASSERT_EQ(mkdir("texturelow", 0755), 0);
  onepixel("red", "texture/a.tga");
  onepixel("lime", "texturelow/a.tga");
  loadtexturetga(1, "a.tga", 0, 1);
  EXPECT_EQ(slotimage(1).rgba, pixel(0, 255, 0));
  loadtexturetga(1, "a.tga", 0, 0);
  EXPECT_EQ(slotimage(1).rgba, pixel(255, 0, 0));
}

TEST_F(imagefolders, open_the_plain_path_when_there_is_no_such_folder)
{
  onepixel("blue", "a.tga");
  onepixel("blue", "a.bmp");
  loadtexturetga(1, "a.tga", 0, 1);
  EXPECT_EQ(slotimage(1).rgba, pixel(0, 0, 255));
  writebytes("texture", {1, 2, 3});  // a file by that name is no folder either
  loadtexturebmp(2, "a.bmp", 0);
  EXPECT_EQ(slotimage(2).rgba, pixel(0, 0, 255));
}

TEST_F(imagefolders, leave_the_slot_as_it_was_when_the_file_is_missing)
{
  fillslot(5);
  slotstate before = snapshot(5);
  loadtexturebmp(5, "missing.bmp", 0);
  loadtexturetga(5, "missing.tga", 0, 0);
  EXPECT_TRUE(snapshot(5) == before);
}

}  // namespace
