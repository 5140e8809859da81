// Safe file replacement and reading: links, read-only files and directories, FIFOs.
#include "engine.h"

#include <cerrno>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using bytes = std::vector<unsigned char>;

class replacefiletest : public ::testing::Test {
protected:
  std::string dir;
  const bytes fresh = {'n', 'e', 'w'};

  void SetUp() override
  {
    char pattern[] = "/tmp/tavrel-replace-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override
  {
    std::string command = "chmod -R u+w '" + dir + "'; rm -rf '" + dir + "'";
    ASSERT_EQ(system(command.c_str()), 0);
  }
  std::string path(const char *name) const { return dir + "/" + name; }
  static bytes contents(const std::string &file)
  {
    bytes read;
    readwholefile(file.c_str(), read);
    return read;
  }
  static void writetext(const std::string &file, const char *text)
  {
    FILE *out = fopen(file.c_str(), "wb");
    fputs(text, out);
    fclose(out);
  }
  int entries() const
  {
    std::string command = "test $(ls -A '" + dir + "' | wc -l) -eq ";
    for (int count = 0; count < 10; ++count)
      if (system((command + std::to_string(count)).c_str()) == 0)
        return count;
    return -1;
  }
  // runs replacefile as an ordinary user, where permissions count; -1 when that is not possible
  int replaceasuser(const std::string &file)
  {
    if (geteuid() != 0)
      return -1;
    pid_t child = fork();
    if (child == 0) {
      if (setgid(65534) != 0 || setuid(65534) != 0)
        _exit(255);
      _exit(replacefile(file.c_str(), fresh.data(), fresh.size()));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 254;
  }
};

TEST_F(replacefiletest, the_new_contents_replace_the_old_with_their_permissions)
{
  writetext(path("file"), "old contents");
  ASSERT_EQ(chmod(path("file").c_str(), 0604), 0);
  EXPECT_EQ(replacefile(path("file").c_str(), fresh.data(), fresh.size()), 0);
  EXPECT_EQ(contents(path("file")), fresh);
  struct stat info;
  ASSERT_EQ(stat(path("file").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0604u);
  EXPECT_EQ(entries(), 1);  // no temporary file is left beside it
}

TEST_F(replacefiletest, a_link_stays_a_link_and_the_file_it_names_is_replaced)
{
  ASSERT_EQ(mkdir(path("real").c_str(), 0755), 0);
  writetext(path("real/file"), "old");
  ASSERT_EQ(symlink("real/file", path("link").c_str()), 0);
  EXPECT_EQ(replacefile(path("link").c_str(), fresh.data(), fresh.size()), 0);
  struct stat info;
  ASSERT_EQ(lstat(path("link").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(contents(path("real/file")), fresh);
}

TEST_F(replacefiletest, a_directory_in_the_way_is_refused_and_kept)
{
  ASSERT_EQ(mkdir(path("file").c_str(), 0755), 0);
  EXPECT_EQ(replacefile(path("file").c_str(), fresh.data(), fresh.size()), EISDIR);
  struct stat info;
  ASSERT_EQ(stat(path("file").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(entries(), 1);
}

TEST_F(replacefiletest, a_read_only_file_is_refused_though_its_directory_is_writable)
{
  ASSERT_EQ(chmod(dir.c_str(), 0777), 0);
  writetext(path("file"), "old");
  ASSERT_EQ(chmod(path("file").c_str(), 0444), 0);
  int result = replaceasuser(path("file"));
  if (result < 0)
    GTEST_SKIP() << "needs root to act as another user";
  EXPECT_EQ(result, EACCES);
  EXPECT_EQ(contents(path("file")), (bytes{'o', 'l', 'd'}));
}

TEST_F(replacefiletest, a_writable_file_in_a_closed_directory_is_rewritten_in_place)
{
  writetext(path("file"), "old contents, longer than the new");
  ASSERT_EQ(chmod(path("file").c_str(), 0666), 0);
  ASSERT_EQ(chmod(dir.c_str(), 0555), 0);
  int result = replaceasuser(path("file"));
  if (result < 0)
    GTEST_SKIP() << "needs root to act as another user";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(contents(path("file")), fresh);
}

TEST_F(replacefiletest, reading_refuses_a_fifo_without_waiting_for_a_writer)
{
  ASSERT_EQ(mkfifo(path("fifo").c_str(), 0644), 0);
  bytes read = {1};
  EXPECT_EQ(readwholefile(path("fifo").c_str(), read), 0);
  EXPECT_TRUE(read.empty());
  EXPECT_EQ(readwholefile(dir.c_str(), read), 0);  // nor a directory
}

}  // namespace
