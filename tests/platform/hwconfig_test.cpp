// "hwconfig.cfg": every version and truncation byte for byte, and saves that never lose the file.
#include "engine.h"
#include "testfiles.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// the start values of the carried-through blocks, restored before each test
const std::vector<float> starttable = [] {
  std::vector<float> run = {0, 0, 0, 0, 0, 0, 0.35f, 0.35f, 0.35f, 0.65f, 0.65f, 0.65f, 0.5f, 0.5f,
                            0.5f, 0.25f, 0.25f, 0.25f, 0.65f, 0.65f, 0.65f, 0.65f, 0.65f, 0, 0.99f,
                            0.99f, 0, 0, 0, 0};
  std::vector<float> table = run;
  table.insert(table.end(), run.begin(), run.end());
  table.resize(96, 0.0f);
  return table;
}();

// the values a version's blocks are read into, as the file's little-endian fields, so that a
// field the file holds only part of compares by the bytes it has, on any machine
struct memoryimage {
  bytes config, material, editor;
};

memoryimage imageofcurrent()
{
  memoryimage image;
  for (int32_t value : {config.width, config.height, config.bits, config.fullscreen,
                        config.gameflag, config.sound, config.usejoystick, config.mouseunlocked,
                        config.interface})
    appendle32(image.config, uint32_t(value));
  for (float value : {config.textred, config.textgreen, config.textblue})
    appendfloat(image.config, value);
  appendle32(image.config, uint32_t(config.lowtexture));
  for (float value : materialcolor)
    appendfloat(image.material, value);
  appendle32(image.editor, uint32_t(editormovemode));
  return image;
}

// a file of the given version whose every value is distinct from the defaults
bytes distinctfile(uint32_t version)
{
  bytes file;
  appendle32(file, version);
  int fields = version == 4 ? 13 : 7;
  for (int i = 0; i < fields; ++i)
    appendle32(file, 0x01020300u + i * 0x11);
  if (version >= 2)
    for (int i = 0; i < 96; ++i)
      appendfloat(file, 0.001f * (i + 1));
  if (version >= 3)
    appendle32(file, 0xA5A5A5A5u);
  return file;
}

// each test runs in a scratch folder of its own, where "hwconfig.cfg" is read and written
class hwconfigtest : public ::testing::Test {
protected:
  scratchworkdir folder;

  void SetUp() override
  {
    std::copy(starttable.begin(), starttable.end(), materialcolor);
    editormovemode = 0;
    config.lowtexture = 0;
  }
  static void writefile(const bytes &content) { writebytes(configfilename, content); }
  static bytes savedfile() { return readbytes(configfilename); }
  std::vector<std::string> entries() const
  {
    std::vector<std::string> names;
    DIR *listing = opendir(".");
    while (dirent *entry = readdir(listing))
      if (entry->d_name[0] != '.')
        names.push_back(entry->d_name);
    closedir(listing);
    return names;
  }
};

TEST_F(hwconfigtest, no_file_gives_the_defaults_and_saves_444_bytes)
{
  config = {};
  config.lowtexture = 0;
  loadconfig();
  EXPECT_EQ(config.width, 640);
  EXPECT_EQ(config.height, 480);
  EXPECT_EQ(config.bits, 16);
  EXPECT_EQ(config.fullscreen, 0);
  EXPECT_EQ(config.gameflag, 1);
  EXPECT_EQ(config.sound, 1);
  EXPECT_EQ(config.usejoystick, 1);
  EXPECT_EQ(config.mouseunlocked, 1);
  EXPECT_EQ(config.interface, 1);
  EXPECT_EQ(config.textred, 1.0f);
  EXPECT_EQ(config.textgreen, 1.0f);
  EXPECT_EQ(config.textblue, 1.0f);
  EXPECT_EQ(config.lowtexture, 0);
  EXPECT_EQ(editormovemode, 0);

  ASSERT_EQ(saveconfig(), 0);
  bytes file = savedfile();
  bytes expected;
  for (uint32_t v : {4u, 640u, 480u, 16u, 0u, 1u, 1u, 1u, 1u, 1u})
    appendle32(expected, v);
  for (int i = 0; i < 3; ++i)
    appendfloat(expected, 1.0f);
  appendle32(expected, 0);
  for (float value : starttable)
    appendfloat(expected, value);
  appendle32(expected, 0);
  EXPECT_EQ(file, expected);
  EXPECT_EQ(file[4], 0x80);
  EXPECT_EQ(file[5], 0x02);
}

TEST_F(hwconfigtest, version_one_takes_seven_fields_and_keeps_the_rest)
{
  bytes file;
  for (uint32_t v : {1u, 800u, 600u, 32u, 1u, 0u, 0u, 0u})
    appendle32(file, v);
  writefile(file);
  config.mouseunlocked = 7;
  loadconfig();
  EXPECT_EQ(config.width, 800);
  EXPECT_EQ(config.height, 600);
  EXPECT_EQ(config.bits, 32);
  EXPECT_EQ(config.fullscreen, 1);
  EXPECT_EQ(config.gameflag, 0);
  EXPECT_EQ(config.usejoystick, 0);
  EXPECT_EQ(config.mouseunlocked, 1);  // a default, not what memory held before
  EXPECT_EQ(config.textred, 1.0f);
  ASSERT_EQ(saveconfig(), 0);
  bytes saved = savedfile();
  ASSERT_EQ(saved.size(), 444u);
  EXPECT_EQ(memcmp(&saved[56], imageofcurrent().material.data(), 384), 0);
  EXPECT_EQ(std::vector<float>(materialcolor, materialcolor + 96), starttable);
}

TEST_F(hwconfigtest, version_four_pins_two_material_entries_older_versions_do_not)
{
  for (uint32_t version : {2u, 3u, 4u}) {
    std::copy(starttable.begin(), starttable.end(), materialcolor);
    editormovemode = 0;
    bytes file = distinctfile(version);
    size_t material = version == 4 ? 56 : 32;
    bytes entry;
    appendfloat(entry, 0.1f);
    appendfloat(entry, 0.2f);
    std::copy(entry.begin(), entry.end(), file.begin() + material + 24 * 4);
    writefile(file);
    loadconfig();
    EXPECT_EQ(materialcolor[24], version == 4 ? 0.9f : 0.1f) << "version " << version;
    EXPECT_EQ(materialcolor[25], version == 4 ? 0.65f : 0.2f) << "version " << version;
    EXPECT_EQ(materialcolor[0], 0.001f);
    EXPECT_EQ(uint32_t(editormovemode), version >= 3 ? 0xA5A5A5A5u : 0u);
  }
}

TEST_F(hwconfigtest, unknown_versions_leave_the_defaults)
{
  for (uint32_t version : {0u, 5u, 0xFFFFFFFFu}) {
    bytes file = distinctfile(4);
    file[0] = uint8_t(version);
    file[1] = file[2] = file[3] = uint8_t(version >> 8);
    writefile(file);
    loadconfig();
    EXPECT_EQ(config.width, 640) << "version " << version;
    EXPECT_EQ(config.lowtexture, 0);
    EXPECT_EQ(std::vector<float>(materialcolor, materialcolor + 96), starttable);
  }
}

// every cut of every version: the bytes that are there land in their record, byte by byte,
// exactly as a short read into the record's memory would place them
TEST_F(hwconfigtest, every_truncation_of_every_version_takes_exactly_the_bytes_present)
{
  for (uint32_t version = 1; version <= 4; ++version) {
    const bytes full = distinctfile(version);
    for (size_t length = 0; length <= full.size(); ++length) {
      std::copy(starttable.begin(), starttable.end(), materialcolor);
      editormovemode = 0;
      config.lowtexture = 0;
      loadconfig();  // no file yet: the defaults, as the reference's starting point
      memoryimage expected = imageofcurrent();
      if (length >= 4) {
        size_t configbytes = version == 4 ? 52 : 28;
        size_t at = 4;
        auto take = [&](bytes &block, size_t count) {
          size_t n = std::min(count, length > at ? length - at : 0);
          std::copy_n(full.begin() + at, n, block.begin());
          at += count;
        };
        take(expected.config, configbytes);
        if (version >= 2)
          take(expected.material, 384);
        if (version == 4) {
          putfloat(expected.material, 24 * 4, 0.9f);
          putfloat(expected.material, 25 * 4, 0.65f);
        }
        if (version >= 3)
          take(expected.editor, 4);
      }
      writefile(bytes(full.begin(), full.begin() + long(length)));
      loadconfig();
      memoryimage actual = imageofcurrent();
      ASSERT_EQ(actual.config, expected.config) << "version " << version << " length " << length;
      ASSERT_EQ(actual.material, expected.material) << "version " << version << " length " << length;
      ASSERT_EQ(actual.editor, expected.editor) << "version " << version << " length " << length;
      unlink(configfilename);
    }
  }
}

TEST_F(hwconfigtest, a_version_four_file_saves_back_identical_but_for_the_pinned_entries)
{
  bytes file = distinctfile(4);
  writefile(file);
  loadconfig();
  ASSERT_EQ(saveconfig(), 0);
  bytes saved = savedfile();
  ASSERT_EQ(saved.size(), file.size());
  bytes pinned;
  appendfloat(pinned, 0.9f);
  appendfloat(pinned, 0.65f);
  std::copy(pinned.begin(), pinned.end(), file.begin() + 56 + 24 * 4);
  EXPECT_EQ(saved, file);
}

TEST_F(hwconfigtest, a_save_that_cannot_replace_the_file_keeps_it_and_leaves_no_temporary)
{
  ASSERT_EQ(mkdir(configfilename, 0755), 0);  // a directory where the file should be
  loadconfig();
  EXPECT_EQ(config.width, 640);
  EXPECT_NE(saveconfig(), 0);
  struct stat info;
  ASSERT_EQ(stat(configfilename, &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(entries(), std::vector<std::string>{configfilename});
}

TEST_F(hwconfigtest, a_save_keeps_the_permissions_of_the_file_it_replaces)
{
  writefile(distinctfile(1));
  ASSERT_EQ(chmod(configfilename, 0640), 0);
  loadconfig();
  ASSERT_EQ(saveconfig(), 0);
  struct stat info;
  ASSERT_EQ(stat(configfilename, &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(savedfile().size(), 444u);
  EXPECT_EQ(entries(), std::vector<std::string>{configfilename});
}

}  // namespace
