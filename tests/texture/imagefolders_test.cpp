// Where the loaders find their files: inside "texture" or "texturelow" without entering them,
// the plain path when there is no such folder, and a missing file that changes nothing; files
// read in pieces as the same bytes in memory, and a file cut short after it was opened.
#include "engine.h"
#include "imagefiles.h"

#include <climits>
#include <cstdlib>
#include <cstdio>
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
  // a file of size bytes that begins with head and ends with tail, zeros (unstored) between
  static void sparsefile(const char *path, const bytes &head, size_t size, const bytes &tail)
  {
    FILE *file = fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(fwrite(head.data(), 1, head.size(), file), head.size());
    EXPECT_EQ(fseeko(file, off_t(size - tail.size()), SEEK_SET), 0);
    EXPECT_EQ(fwrite(tail.data(), 1, tail.size(), file), tail.size());
    EXPECT_EQ(fclose(file), 0);
  }
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

TEST_F(imagefolders, take_the_low_detail_set_from_texturelow)
{
  ASSERT_EQ(mkdir("texture", 0755), 0);
  ASSERT_EQ(mkdir("texturelow", 0755), 0);
  onepixel("red", "texture/a.tga");
  onepixel("lime", "texturelow/a.tga");
  loadtexturetga(1, "a.tga", 0, 1);
  EXPECT_EQ(slotimage(1).rgba, pixel(0, 255, 0));
  loadtexturetga(1, "a.tga", 0, 0);
  EXPECT_EQ(slotimage(1).rgba, pixel(255, 0, 0));

  // a game whose player chose low detail takes every image from texturelow where it is there
  onepixel("lime", "texturelow/b.bmp");
  onepixel("red", "texture/b.bmp");
  onepixel("red", "texture/c.bmp");
  lowtexturedetail = 1;
  loadtexturebmp(1, "b.bmp", 0);
  EXPECT_EQ(slotimage(1).rgba, pixel(0, 255, 0));
  loadtexturetga(2, "a.tga", 0, 0);
  EXPECT_EQ(slotimage(2).rgba, pixel(0, 255, 0));
  loadtexturebmp(3, "c.bmp", 0);
  EXPECT_EQ(slotimage(3).rgba, pixel(255, 0, 0));
  lowtexturedetail = 0;
}

// a game's data where it is installed, when the working folder has none: in the order the
// folders are searched, each taking over once the ones before it lose the file
TEST_F(imagefolders, find_a_game_s_installed_data_in_the_order_of_the_search)
{
  const std::string game = "imagefolders-test-" + std::to_string(getpid());
  ASSERT_EQ(setgamename(game.c_str()), 1);
  scratchfolder added;
  ASSERT_EQ(adddatafolder(added.path.c_str()), 1);
  const std::string program = programfolder(), prefix = program.substr(0, program.rfind('/'));
  const struct {
    std::string folder, colour;
    bytes rgba;
  } places[] = {
      {".", "red", pixel(255, 0, 0)},
      {added.path, "lime", pixel(0, 255, 0)},
      {prefix + "/share/games/" + game, "blue", pixel(0, 0, 255)},
      {prefix + "/share/" + game, "yellow", pixel(255, 255, 0)},
      {program, "cyan", pixel(0, 255, 255)},
  };
  for (const auto &place : places) {
    ASSERT_EQ(system(("mkdir -p '" + place.folder + "/texture'").c_str()), 0);
    onepixel(place.colour, place.folder + "/texture/a.bmp");
  }
  for (const auto &place : places) {
    SCOPED_TRACE(place.folder);
    loadtexturebmp(1, "a.bmp", 0);
    EXPECT_EQ(slotimage(1).rgba, place.rgba);
    std::remove((place.folder + "/texture/a.bmp").c_str());
  }
  loadtexturebmp(1, "a.bmp", 0);
  EXPECT_STREQ(textureloaderror(), "cannot open the file");
  // the low-detail set is looked for the same way
  onepixel("red", "texture/b.bmp");
  ASSERT_EQ(system(("mkdir -p '" + places[2].folder + "/texturelow'").c_str()), 0);
  onepixel("blue", places[2].folder + "/texturelow/b.bmp");
  lowtexturedetail = 1;
  loadtexturebmp(1, "b.bmp", 0);
  lowtexturedetail = 0;
  EXPECT_EQ(slotimage(1).rgba, pixel(0, 0, 255));
  EXPECT_EQ(system(("rm -rf '" + places[2].folder + "' '" + places[3].folder + "' '" + program +
                    "/texture'; rmdir '" + prefix + "/share/games' '" + prefix + "/share'")
                       .c_str()),
            0);
  setgamename("tavrel");
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

TEST_F(imagefolders, read_files_past_a_gigabyte_when_their_header_allows_them)
{
  // the largest uncompressed TGA: 16384x16384 at 32 bits, rows bottom-up, 8 alpha bits
  bytewriter tga;
  for (int field = 0; field < 12; ++field)
    tga.u8(field == 2 ? 2 : 0);
  tga.u16(16384);
  tga.u16(16384);
  tga.u8(32);
  tga.u8(8);
  sparsefile("big.tga", tga.bytes, 18 + (size_t(1) << 30), {10, 20, 30, 40});
  loadtexturetga(1, "big.tga", 0, 0);
  if (sizeof(void *) < 8 && !texture[1].width) {  // a 32-bit process may find no room for it
    EXPECT_STREQ(textureloaderror(), "out of memory");
  } else {
    ASSERT_EQ(texture[1].width, 16384);
    // the file's last pixel ends the top row
    EXPECT_EQ(bytes(texture[1].data + 16383 * 4, texture[1].data + 16384 * 4),
              bytes({30, 20, 10, 40}));
  }
  settexture(1, 0, 0, 0, nullptr);

  // a one-pixel BMP whose pixel lies past 2 GiB into the file, where a 32-bit offset would not
  // reach
  const uint32_t offset = (1u << 31) + 64;
  bytewriter bmp;
  bmp.u16(0x4D42);
  for (uint32_t field : {offset + 3, 0u, offset, 40u, 1u, 1u})
    bmp.u32(field);
  bmp.u16(1);
  bmp.u16(24);
  sparsefile("big.bmp", bmp.bytes, offset + 3, {50, 60, 70});
  loadtexturebmp(2, "big.bmp", 0);
  EXPECT_EQ(slotimage(2).rgba, pixel(70, 60, 50));
}

// random bytes after a header: sides and runs chosen so that rows, padding, pixels and packets
// straddle the loader's piece boundaries
bytes withrandom(bytes file, size_t count)
{
  for (size_t i = 0; i < count; ++i)
    file.push_back(uint8_t(rand()));
  return file;
}

TEST_F(imagefolders, read_files_in_pieces_exactly_as_the_same_bytes_in_memory)
{
  constexpr int side = 601;  // 1803-byte rows padded to 1804 in a BMP
  bytewriter tga;
  for (int field : {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0})
    tga.u8(uint8_t(field));
  tga.u16(side);
  tga.u16(side);
  tga.u8(24);
  tga.u8(0);
  bytes runs = tga.bytes;
  runs[2] = 10;
  // packets of every length, literal and repeated, of 3 bytes a pixel
  for (size_t pixels = 0; pixels < size_t(side) * side;) {
    const uint8_t packet = uint8_t(rand());
    const int length = (packet & 0x7F) + 1;
    runs.push_back(packet);
    runs = withrandom(std::move(runs), (packet & 0x80 ? 1 : length) * 3);
    pixels += length;
  }
  // random pixels, which deflate cannot shrink: the pieces libpng asks for straddle them too
  writebytes("random.rgb", withrandom({}, size_t(side) * side * 3));
  ASSERT_TRUE(convertimage("-size 601x601 -depth 8 rgb:random.rgb random.png"));
  using frommemory = int (*)(int, const unsigned char *, size_t, int);
  using fromfile = void (*)(int, const char *);
  const fromfile tgafile = [](int slot, const char *name) { loadtexturetga(slot, name, 0, 0); };
  const struct {
    const char *name;
    bytes file;
    frommemory bytesloader;
    fromfile fileloader;
  } files[] = {
      {"plain.tga", withrandom(tga.bytes, size_t(side) * side * 3), loadtexturetgabytes, tgafile},
      {"runs.tga", runs, loadtexturetgabytes, tgafile},
      {"plain.bmp", withrandom(bmpfileheader(side, side, 0).bytes, bmprowbytes(side) * side),
       loadtexturebmpbytes, [](int slot, const char *name) { loadtexturebmp(slot, name, 0); }},
      {"random.png", readbytes("random.png"), loadtexturepngbytes,
       [](int slot, const char *name) { loadtexturepng(slot, name, 0); }},
  };
  ASSERT_EQ(mkdir("texture", 0755), 0);
  for (const auto &test : files) {
    SCOPED_TRACE(test.name);
    writebytes(std::string("texture/") + test.name, test.file);
    ASSERT_EQ(test.bytesloader(1, test.file.data(), test.file.size(), 0), 1);
    test.fileloader(2, test.name);
    EXPECT_TRUE(samepicture(slotimage(1), slotimage(2)));
  }
}

TEST_F(imagefolders, a_file_cut_short_after_it_was_opened_fails_its_reads)
{
  writebytes("a.tga", bytes(1000, 7));
  bytesource file;
  ASSERT_EQ(openfolderfile("texture", "a.tga", file, 600), 1);
  EXPECT_EQ(file.size, 600u);  // at most the limit
  ASSERT_EQ(truncate("a.tga", 100), 0);
  unsigned char piece[200];
  EXPECT_TRUE(file.readat(0, piece, 100));
  EXPECT_FALSE(file.readat(700, piece, 1));  // past the size: no failure of the file
  EXPECT_FALSE(file.failed);
  EXPECT_FALSE(file.readat(50, piece, 100));
  EXPECT_TRUE(file.failed);
}

TEST_F(imagefolders, leave_the_slot_as_it_was_when_the_file_is_missing)
{
  fillslot(5);
  slotstate before = snapshot(5);
  loadtexturebmp(5, "missing.bmp", 0);
  EXPECT_STREQ(textureloaderror(), "cannot open the file");
  loadtexturetga(5, "missing.tga", 0, 0);
  EXPECT_TRUE(snapshot(5) == before);
}

}  // namespace
