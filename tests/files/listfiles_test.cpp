// The directory lister in directories built by each test: the matcher, the two modes, links,
// the end mark, and tables and names that never overflow.
#include "engine.h"

#include "testfiles.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using names = std::vector<std::string>;
constexpr char unwritten = 0x7f;

void makedir(const std::string &name)
{
  ASSERT_EQ(mkdir(name.c_str(), 0755), 0) << name;
}

// lists into a table of capacity slots followed by a guard slot, checks that nothing was
// written past the end mark and that every name ends inside its slot, and returns the names
names listed(const char *spec, int directories, int capacity = 16, const char *folder = ".")
{
  std::vector<char> bytes(size_t(capacity + 1) * filenamesize, unwritten);
  auto *table = reinterpret_cast<filenameslot *>(bytes.data());
  listfolder(folder, spec, table, directories, capacity);
  names result;
  int slot = 0;
  for (; slot < capacity && table[slot][0] != '\0'; ++slot) {
    EXPECT_LT(strnlen(table[slot], filenamesize), size_t(filenamesize)) << "slot " << slot;
    result.emplace_back(table[slot], strnlen(table[slot], filenamesize));
  }
  EXPECT_LT(slot, capacity) << "no end mark";
  size_t firstunused = size_t(slot + 1) * filenamesize;
  for (size_t i = firstunused; i < bytes.size(); ++i)
    if (bytes[i] != unwritten) {
      ADD_FAILURE() << "byte " << i << " written past the end mark";
      break;
    }
  return result;
}

TEST(file_spec, a_star_takes_the_first_occurrence_and_either_end_is_a_match)
{
  struct {
    const char *spec, *name;
    int match;
  } cases[] = {
      {"*.bmp", "a.bmp", 1}, {"*.bmp", "a.tga", 0},    {"*.bmp", "a.b.bmp", 0},
      {"*.bmp", "a.bmpx", 1}, {"*.bmp", "a.bm", 1},    {"*.bmp", "readme", 1},
      {"*", "any name", 1},   {"", "any name", 1},     {"abc", "abcdef", 1},
      {"abc", "abd", 0},      {"A*", "apple", 0},      {"a?c", "abc", 0},
      {"*", "*", 1},          {"x*y*z", "xaybqz", 1},  {"x*y.z", "xay.q", 0},
      {"ab*", "ab", 1},       {"*b", "aaab", 1},       {"", "", 1},
  };
  for (const auto &c : cases)
    EXPECT_EQ(checkfilespec(c.spec, c.name), c.match) << c.spec << " against " << c.name;
}

class listing : public ::testing::Test {
protected:
  scratchworkdir dir;
};

TEST_F(listing, files_come_in_byte_order_hidden_ones_included)
{
  for (const char *name : {"b.txt", "A.txt", ".hidden", "1.txt", "<x>.bmp", "B.txt", "a.txt"})
    writetext(name, "");
  makedir("sub");
  EXPECT_EQ(listed("*", 0), (names{".hidden", "1.txt", "A.txt", "B.txt", "a.txt", "b.txt"}));
}

TEST_F(listing, directories_leave_out_hidden_ones_and_the_dot_entries)
{
  for (const char *name : {"sub", "Other", ".git", "<dir>"})
    makedir(name);
  writetext("file", "");
  EXPECT_EQ(listed("*", 1), (names{"Other", "sub"}));
}

TEST_F(listing, the_spec_filters_both_modes)
{
  for (const char *name : {"a.bmp", "b.tga", "c.bmp"})
    writetext(name, "");
  makedir("maps.bmp");
  makedir("maps.tga");
  EXPECT_EQ(listed("*.bmp", 0), (names{"a.bmp", "c.bmp"}));
  EXPECT_EQ(listed("*.bmp", 1), (names{"maps.bmp"}));
}

TEST_F(listing, links_count_as_what_they_point_at_and_dangling_ones_are_skipped)
{
  writetext("file", "");
  makedir("sub");
  ASSERT_EQ(symlink("file", "tofile"), 0);
  ASSERT_EQ(symlink("sub", "todir"), 0);
  ASSERT_EQ(symlink("nowhere", "dangling"), 0);
  EXPECT_EQ(listed("*", 0), (names{"file", "tofile"}));
  EXPECT_EQ(listed("*", 1), (names{"sub", "todir"}));
}

// entries are examined inside the folder: from outside, a name alone would stat the wrong entry
TEST_F(listing, another_folder_is_listed_without_entering_it)
{
  makedir("texture");
  makedir("texture/sub");
  for (const char *name : {"texture/b.tga", "texture/a.bmp", "sub", "top.bmp"})
    writetext(name, "");
  ASSERT_EQ(symlink("a.bmp", "texture/link.bmp"), 0);
  EXPECT_EQ(listed("*", 0, 16, "texture"), (names{"a.bmp", "b.tga", "link.bmp"}));
  EXPECT_EQ(listed("*", 1, 16, "texture"), (names{"sub"}));
  EXPECT_EQ(listed("*", 0, 16, "missing"), names{});
}

TEST_F(listing, nothing_to_list_leaves_only_the_end_mark)
{
  EXPECT_EQ(listed("*", 0), names{});
  EXPECT_EQ(listed("*", 1), names{});
  writetext("a.tga", "");
  EXPECT_EQ(listed("*.bmp", 0), names{});
}

TEST_F(listing, a_full_table_keeps_the_names_that_sort_first)
{
  // created in three orders, so that the names kept cannot be the ones the directory yields first
  std::vector<int> ascending, descending, interleaved;
  for (int i = 0; i < 20; ++i) {
    ascending.push_back(i);
    descending.push_back(19 - i);
    interleaved.push_back(i % 2 ? i / 2 : 19 - i / 2);
  }
  for (const auto &creation : {ascending, descending, interleaved}) {
    for (int i : creation)
      writetext("f" + std::to_string(100 + i), "");
    EXPECT_EQ(listed("*", 0, 6), (names{"f100", "f101", "f102", "f103", "f104"}));
    for (int i : creation)
      unlink(("f" + std::to_string(100 + i)).c_str());
  }
  // a caller's filter picks before the capacity counts, and the count says what did not fit
  for (int i : ascending)
    writetext("f" + std::to_string(100 + i), "");
  writetext("z.bmp", "");
  filenameslot table[2];
  EXPECT_EQ(listfolder(".", "*", table, 0, 2, [](const char *name) { return name[0] == 'z'; }), 1);
  EXPECT_STREQ(table[0], "z.bmp");
  EXPECT_EQ(listfolder(".", "*", table, 0, 2), 21);
  EXPECT_EQ(listed("*", 0, 1), names{});

  char untouched[filenamesize];
  memset(untouched, unwritten, sizeof untouched);
  listfiles("*", reinterpret_cast<filenameslot *>(untouched), 0, 0);
  EXPECT_EQ(untouched[0], unwritten) << "a table of no slots was written";
}

TEST_F(listing, an_array_table_is_bounded_by_its_length)
{
  for (const char *name : {"a", "b", "c"})
    writetext(name, "");
  struct {
    filenameslot table[3];
    char guard;
  } memory;
  memset(&memory, unwritten, sizeof memory);
  listfiles("*", memory.table, 0);
  EXPECT_STREQ(memory.table[1], "b");  // two names and the end mark: all three slots used
  EXPECT_EQ(memory.table[2][0], '\0');
  EXPECT_EQ(memory.guard, unwritten);
}

TEST_F(listing, names_too_long_for_a_slot_are_skipped_not_cut)
{
  const std::string fits(filenamesize - 1, 'a');
  writetext(fits, "");
  writetext(std::string(filenamesize, 'b'), "");
  writetext(std::string(200, 'c'), "");
  makedir(std::string(filenamesize, 'd'));
  EXPECT_EQ(listed("*", 0), (names{fits}));
  EXPECT_EQ(listed("*", 1), names{});
}

}  // namespace
