// Safe file replacement and reading: links, read-only files and directories, FIFOs, and the
// temporaries of killed replacements.
#include "engine.h"
#include "testfiles.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <string>
#include <thread>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// while set, the next temporary the saver makes is locked by the test before the saver can lock
// it, as another writer's sweep may hold it for a moment; the test's descriptor lands here
int lockednexttemporary = -1;
bool locknexttemporary;

}  // namespace

extern "C" int mkostemp(char *pattern, int flags)
{
  static const auto made = reinterpret_cast<int (*)(char *, int)>(dlsym(RTLD_NEXT, "mkostemp"));
  const int fd = made(pattern, flags);
  if (fd >= 0 && locknexttemporary) {
    locknexttemporary = false;
    lockednexttemporary = open(pattern, O_RDONLY | O_CLOEXEC);
    flock(lockednexttemporary, LOCK_EX);
  }
  return fd;
}

namespace {

class replacefiletest : public ::testing::Test {
protected:
  scratchfolder folder;
  const std::string &dir = folder.path;
  const bytes fresh = {'n', 'e', 'w'};

  std::string path(const char *name) const { return folder.file(name); }
  static bytes contents(const std::string &file) { return readbytes(file); }
  static void writetext(const std::string &file, const char *text)
  {
    writebytes(file, bytes(text, text + strlen(text)));
  }
  int entries() const
  {
    int count = 0;
    DIR *listing = opendir(dir.c_str());
    while (dirent *entry = readdir(listing))
      count += strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0;
    closedir(listing);
    return count;
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

TEST_F(replacefiletest, stale_temporaries_go_but_one_in_use_and_look_alikes_stay)
{
  for (const char *name : {"file.tmp-ab12CD", "file.tmp-inuse1", "file.backup", "file.tmp-ab12CDE"})
    writetext(path(name), "left over");
  const int inuse = open(path("file.tmp-inuse1").c_str(), O_RDONLY);
  ASSERT_EQ(flock(inuse, LOCK_EX), 0);  // as a writer still saving holds it
  EXPECT_EQ(replacefile(path("file").c_str(), fresh.data(), fresh.size()), 0);
  close(inuse);
  EXPECT_EQ(::entries(dir),
            (std::set<std::string>{"file", "file.tmp-inuse1", "file.backup", "file.tmp-ab12CDE"}));
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

  // a link to a file not made yet creates it, as any write through the link would
  ASSERT_EQ(symlink("real/later", path("ahead").c_str()), 0);
  EXPECT_EQ(replacefile(path("ahead").c_str(), fresh.data(), fresh.size()), 0);
  ASSERT_EQ(lstat(path("ahead").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(contents(path("real/later")), fresh);
}

TEST_F(replacefiletest, two_writers_at_once_lose_no_save)
{
  // each sweeps the other's stale temporaries before it writes, so a temporary just made and not
  // yet locked must never be taken for one
  pid_t writers[2];
  for (pid_t &writer : writers) {
    writer = fork();
    if (writer == 0) {
      int failed = 0;
      for (const time_t end = time(nullptr) + 2; time(nullptr) < end;)
        failed += replacefile(path("file").c_str(), fresh.data(), fresh.size()) != 0;
      _exit(failed > 0);
    }
  }
  for (pid_t writer : writers) {
    int status = -1;
    waitpid(writer, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
  }
  EXPECT_EQ(contents(path("file")), fresh);
  EXPECT_EQ(entries(), 1);
}

// a sweep holds the lock of the saver's new temporary for a moment, or is stopped while it holds
// it, and a logout's signal comes meanwhile: the save goes on, with another temporary if need be
TEST_F(replacefiletest, a_sweep_holding_the_new_temporary_and_a_quit_signal_cost_no_save)
{
  setupquitsignals();
  for (bool stopped : {false, true}) {
    writetext(path("file"), "old");
    const pthread_t saver = pthread_self();
    std::thread sweeper([saver, stopped] {
      usleep(5 * 1000);
      pthread_kill(saver, SIGTERM);
      if (!stopped) {
        usleep(10 * 1000);  // well within the moment a sweep may take
        close(lockednexttemporary);
      }
    });
    locknexttemporary = true;
    EXPECT_EQ(replacefile(path("file").c_str(), fresh.data(), fresh.size()), 0) << stopped;
    sweeper.join();
    EXPECT_EQ(contents(path("file")), fresh) << stopped;
    EXPECT_EQ(entries(), stopped ? 2 : 1) << "the stopped sweep's temporary stays until it goes on";
    if (stopped)
      close(lockednexttemporary);
  }
  shutdownquitsignals();
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

int messagelines;
void countmessage(const char *) { ++messagelines; }

std::string repeated(const std::string &text, int times)
{
  std::string all;
  while (times-- > 0)
    all += text;
  return all;
}

// a game's options written through the replacement and read back, every kind and every byte of
// a text; a damaged file gives what it can, each skipped line left out and named
TEST_F(replacefiletest, a_games_options_go_round_and_a_damaged_file_loads_what_it_can)
{
  int32_t difficulty = -3, muted = 1;
  float volume = 0.1f, tiny = 1e-40f;  // the smallest floats read back too
  char name[16] = "Jos\xC3\xA9 \"P\\\x01";
  const gameoption options[] = {integeroption("difficulty", &difficulty),
                                integeroption("sound.muted", &muted),
                                numberoption("volume", &volume), textoption("name", name),
                                numberoption("tiny", &tiny)};
  ASSERT_EQ(savegameoptions(path("options.txt").c_str(), options), 0);
  difficulty = muted = 0, volume = tiny = 0, name[0] = 0;
  EXPECT_EQ(loadgameoptions(path("options.txt").c_str(), options), 5);
  EXPECT_EQ(difficulty, -3);
  EXPECT_EQ(muted, 1);
  EXPECT_EQ(volume, 0.1f);
  EXPECT_EQ(tiny, 1e-40f);
  EXPECT_STREQ(name, "Jos\xC3\xA9 \"P\\\x01");
  const struct {
    const char *what;
    std::string file;
    int taken, messages;
  } damaged[] = {
      {"unknown names and no '='", "nope = 1\nno equals\n# note\n\ndifficulty = 2\n", 1, 2},
      {"values of the wrong kind", "difficulty = 1.5\nvolume = x\nname = Jo\nmuted = 1\n", 0, 4},
      {"a text too long, an unknown escape", "name = \"0123456789abcdefg\"\nname = \"\\q\"\n", 0, 2},
      {"a zero byte, a number out of range", std::string("volume = 2\0\ndifficulty = 3000000000", 36), 0, 2},
      {"twenty bad lines: eight named and a count", repeated("x\n", 20), 0, 9},
  };
  for (const auto &c : damaged) {
    SCOPED_TRACE(c.what);
    difficulty = 7;
    messagelines = 0;
    setmessagecallback(countmessage);
    EXPECT_EQ(loadgameoptionsbytes(reinterpret_cast<const unsigned char *>(c.file.data()),
                                   c.file.size(), options, 4, "options.txt"),
              c.taken);
    setmessagecallback(nullptr);
    EXPECT_EQ(messagelines, c.messages);
    EXPECT_EQ(difficulty, c.taken ? 2 : 7);
  }
  EXPECT_EQ(loadgameoptions(path("missing.txt").c_str(), options), -1);
  // a file no load would read is not written
  static char tabs[20000];
  memset(tabs, '\t', sizeof tabs - 1);
  const gameoption large[] = {textoption("tabs", tabs)};
  EXPECT_EQ(savegameoptions(path("options.txt").c_str(), large), EFBIG);
  writebytes(path("large.txt"), bytes(size_t(maxoptionsfilebytes) + 1, '\n'));
  EXPECT_EQ(loadgameoptions(path("large.txt").c_str(), options), -1);
}

}  // namespace
