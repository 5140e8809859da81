// The real program under Xvfb: it opens its window, ends on a close request, and writes a
// correct version-4 "hwconfig.cfg" from every input, or keeps the old file and says why, in its
// window too when the player left with Escape; killed in the middle of its save, it leaves the
// old file or the new one.
#include "setuprun.h"
#include "xserver.h"

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <poll.h>
#include <random>
#include <set>
#include <string>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// a stored file: the version word, then 13 (version 4) or 7 fields, then the blocks it carries
bytes storedfile(uint32_t version, uint32_t width, uint32_t height)
{
  bytes file;
  appendle32(file, version);
  appendle32(file, width);
  appendle32(file, height);
  int more = version == 4 ? 11 : 5;
  for (int i = 0; i < more; ++i)
    appendle32(file, 0x100 + i);
  if (version >= 2)
    for (int i = 0; i < 96; ++i)
      appendle32(file, 0x3C000000u + i);  // small floats, each distinct
  if (version >= 3)
    appendle32(file, 0x77);
  return file;
}

// one run that is closed by a window-close request; its exit status
int runandclose(const std::string &dir)
{
  setuprun run(dir);
  EXPECT_TRUE(run.waitforwindow()) << run.errors();
  run.closewindow();
  return run.waitforexit();
}

std::string configpath(const std::string &dir)
{
  return dir + "/hwconfig.cfg";
}

TEST(lifecycle, a_close_request_saves_the_defaults_when_there_is_no_file)
{
  std::string dir = makeworkdir();
  EXPECT_EQ(runandclose(dir), 0);
  bytes file = readbytes(configpath(dir));
  ASSERT_EQ(file.size(), 444u);
  EXPECT_EQ(le32at(file, 0), 4u);
  EXPECT_EQ(le32at(file, 4), 640u);
  EXPECT_EQ(le32at(file, 8), 480u);
  EXPECT_EQ(le32at(file, 40), 0x3F800000u);  // text red 1.0
  EXPECT_EQ(le32at(file, 52), 0u);           // low texture detail off
}

TEST(lifecycle, the_mouse_is_held_from_the_first_frame_and_again_after_a_focus_change)
{
  setuprun run(makeworkdir());
  ASSERT_TRUE(run.waitforwindow()) << run.errors();
  run.takefocus();  // as a window manager gives a new window the focus
  EXPECT_TRUE(run.pointerheld());
  run.losefocus();
  EXPECT_FALSE(run.pointerheld());
  run.takefocus();
  EXPECT_TRUE(run.pointerheld());
  run.closewindow();
  EXPECT_EQ(run.waitforexit(), 0);
}

TEST(lifecycle, every_version_is_rewritten_as_version_four_with_the_height_settled)
{
  for (uint32_t version = 1; version <= 4; ++version) {
    SCOPED_TRACE(testing::Message() << "version " << version);
    std::string dir = makeworkdir();
    bytes old = storedfile(version, 800, 123);
    writebytes(configpath(dir), old);
    EXPECT_EQ(runandclose(dir), 0);
    bytes file = readbytes(configpath(dir));
    ASSERT_EQ(file.size(), 444u);
    EXPECT_EQ(le32at(file, 0), 4u);
    EXPECT_EQ(le32at(file, 4), 800u);
    EXPECT_EQ(le32at(file, 8), 600u);
    for (size_t offset = 12; offset < 32; offset += 4)
      EXPECT_EQ(le32at(file, offset), le32at(old, offset)) << "offset " << offset;
    if (version == 4)
      EXPECT_TRUE(std::equal(old.begin() + 32, old.begin() + 56, file.begin() + 32));
    else
      EXPECT_EQ(le32at(file, 32), 1u);  // mouse unlocked keeps its default
    uint32_t firstmaterial = version == 1 ? 0u : 0x3C000000u;
    EXPECT_EQ(le32at(file, 56), firstmaterial);
    EXPECT_EQ(le32at(file, 440), version >= 3 ? 0x77u : 0u);
  }
}

TEST(lifecycle, a_width_of_its_own_keeps_its_stored_height)
{
  std::string dir = makeworkdir();
  writebytes(configpath(dir), storedfile(4, 700, 123));
  EXPECT_EQ(runandclose(dir), 0);
  bytes file = readbytes(configpath(dir));
  ASSERT_EQ(file.size(), 444u);
  EXPECT_EQ(le32at(file, 4), 700u);
  EXPECT_EQ(le32at(file, 8), 123u);
}

TEST(lifecycle, truncated_and_unknown_files_fall_back_to_the_defaults_they_lack)
{
  std::string dir = makeworkdir();
  bytes cut = storedfile(4, 1024, 5);
  cut.resize(6);  // ends inside the width: its two low bytes are taken
  writebytes(configpath(dir), cut);
  EXPECT_EQ(runandclose(dir), 0);
  bytes file = readbytes(configpath(dir));
  ASSERT_EQ(file.size(), 444u);
  EXPECT_EQ(le32at(file, 4), 1024u);
  EXPECT_EQ(le32at(file, 8), 768u);

  writebytes(configpath(dir), storedfile(5, 1024, 5));
  EXPECT_EQ(runandclose(dir), 0);
  file = readbytes(configpath(dir));
  ASSERT_EQ(file.size(), 444u);
  EXPECT_EQ(le32at(file, 4), 640u);
}

// a logout's signal is not kept waiting by the message
TEST(lifecycle, a_directory_in_the_way_is_reported_and_left_alone)
{
  std::string dir = makeworkdir();
  ASSERT_EQ(mkdir(configpath(dir).c_str(), 0755), 0);
  setuprun run(dir);
  ASSERT_TRUE(run.waitforwindow());
  kill(run.pid, SIGTERM);
  EXPECT_EQ(run.waitforexit(3000), 1);
  EXPECT_NE(run.errors().find("hwconfig.cfg"), std::string::npos) << run.errors();
  struct stat info;
  ASSERT_EQ(stat(configpath(dir).c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
}

// true once the message of a failed save shows: white text right of the middle in rows 144 to
// 183, where the set-up screen draws nothing
bool showsmessage(setuprun &run)
{
  for (int waited = 0; waited < 5000; waited += 100, usleep(100 * 1000)) {
    const std::vector<unsigned char> frame = run.capture();
    int white = 0;
    for (size_t i = 0; i + 2 < frame.size(); i += 3) {
      const size_t x = i / 3 % 640, y = i / 3 / 640;
      white += x >= 330 && x < 520 && y >= 144 && y < 184 && frame[i] > 200 &&
               frame[i + 1] > 200 && frame[i + 2] > 200;
    }
    if (white > 100)
      return true;
  }
  return false;
}

// left by Escape the message ends with a key, left by the close button with the close button
TEST(lifecycle, a_failed_save_is_shown_until_a_key_or_a_close)
{
  for (bool close : {false, true}) {
    std::string dir = makeworkdir();
    ASSERT_EQ(mkdir(configpath(dir).c_str(), 0755), 0);
    setuprun run(dir);
    ASSERT_TRUE(run.waitforwindow()) << run.errors();
    if (close)
      run.closewindow();
    else
      run.press("Escape");
    ASSERT_TRUE(showsmessage(run)) << run.errors();
    run.press("F12");  // minimising and a modifier alone are no answer
    run.press("Shift_L");
    usleep(200 * 1000);
    EXPECT_TRUE(showsmessage(run)) << "ended by F12 or Shift";
    if (close)
      run.closewindow();
    else
      run.press("space");
    EXPECT_EQ(run.waitforexit(3000), 1);
    EXPECT_EQ(run.errors(), "tavrel-setup: cannot save hwconfig.cfg: Is a directory\n");
  }
}

// a small file system of its own, so that a save can run out of room or hit a read-only mount
class smallfilesystem : public ::testing::Test {
protected:
  std::string dir;
  void SetUp() override
  {
    dir = makeworkdir();
    if (mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=4k") != 0)
      GTEST_SKIP() << "cannot mount a tmpfs here (needs root): " << strerror(errno);
  }
  void TearDown() override
  {
    if (!dir.empty())
      umount(dir.c_str());
  }
  // runs the program and checks that it failed loudly, in its window too, and kept the old file as
  // it was
  void expectkeptafterfailedsave(const bytes &old)
  {
    setuprun run(dir);
    ASSERT_TRUE(run.waitforwindow()) << run.errors();
    run.closewindow();
    EXPECT_TRUE(showsmessage(run));
    run.press("space");
    EXPECT_EQ(run.waitforexit(), 1);
    std::string errors = run.errors();
    EXPECT_NE(errors.find("cannot save hwconfig.cfg"), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(readbytes(configpath(dir)), old);
    std::string listing = "ls -A '" + dir + "' | grep -v -x -e hwconfig.cfg -e filler";
    EXPECT_NE(system(listing.c_str()), 0) << "a temporary file was left behind";
  }
};

TEST_F(smallfilesystem, a_full_disk_keeps_the_old_file)
{
  bytes old = storedfile(4, 1280, 960);
  writebytes(configpath(dir), old);
  // fill the rest of the file system
  std::string filler = "dd if=/dev/zero of='" + dir + "/filler' bs=1k count=64 2>/dev/null";
  [[maybe_unused]] const int full = system(filler.c_str());  // dd fails once the disk is full
  expectkeptafterfailedsave(old);
}

TEST_F(smallfilesystem, a_read_only_directory_keeps_the_old_file)
{
  bytes old = storedfile(2, 1024, 768);
  writebytes(configpath(dir), old);
  ASSERT_EQ(mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, "size=4k"), 0);
  expectkeptafterfailedsave(old);
}

// the moments a save creates its temporary beside "hwconfig.cfg" and renames it over the file
class savewatch {
  int fd = inotify_init1(IN_CLOEXEC);
  std::vector<char> events;  // read but not yet looked at
  size_t next = 0;

public:
  explicit savewatch(const std::string &dir)
  {
    inotify_add_watch(fd, dir.c_str(), IN_CREATE | IN_MOVED_FROM);
  }
  ~savewatch() { close(fd); }
  // waits for that change to a temporary; false when none comes in time
  bool waitfor(uint32_t change, int timeoutms = 5000)
  {
    for (;;) {
      while (next < events.size()) {
        const auto *event = reinterpret_cast<const inotify_event *>(events.data() + next);
        next += sizeof *event + event->len;
        if ((event->mask & change) && strncmp(event->name, "hwconfig.cfg.", 13) == 0)
          return true;
      }
      pollfd ready = {fd, POLLIN, 0};
      if (poll(&ready, 1, timeoutms) <= 0)
        return false;
      events.resize(4096);
      events.resize(size_t(std::max(read(fd, events.data(), events.size()), ssize_t(0))));
      next = 0;
    }
  }
};

// what is in dir besides the artwork and the file, such as temporaries
std::set<std::string> leftovers(const std::string &dir)
{
  std::set<std::string> names = entries(dir);
  for (const char *name : {"font.bmp", "tvr.bmp", "hwconfig.cfg"})
    names.erase(name);
  return names;
}

// asks a run to close; true once its save has made its temporary
bool closeuntilsaving(setuprun &run, savewatch &watch)
{
  if (!run.waitforwindow())
    return false;
  run.closewindow();
  return watch.waitfor(IN_CREATE);
}

TEST(lifecycle, a_save_killed_at_any_moment_leaves_the_old_or_the_new_file_and_no_pile)
{
  using clock = std::chrono::steady_clock;
  const bytes old = storedfile(1, 800, 123);
  std::string dir = makeworkdir();
  savewatch watch(dir);
  // a clean run gives the new file and how long its save takes from temporary to rename
  writebytes(configpath(dir), old);
  setuprun clean(dir);
  ASSERT_TRUE(closeuntilsaving(clean, watch)) << clean.errors();
  const auto created = clock::now();
  ASSERT_TRUE(watch.waitfor(IN_MOVED_FROM));
  const auto span = std::chrono::duration_cast<std::chrono::microseconds>(clock::now() - created);
  ASSERT_EQ(clean.waitforexit(), 0) << clean.errors();
  const bytes renewed = readbytes(configpath(dir));
  ASSERT_EQ(renewed.size(), 444u);

  // then kills at random moments from the temporary's creation to a while past the rename
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<long> moment(0, 2 * span.count() + 200);
  int killedinsave = 0;
  for (const auto end = clock::now() + std::chrono::seconds(4); clock::now() < end;) {
    writebytes(configpath(dir), old);
    setuprun run(dir);
    ASSERT_TRUE(closeuntilsaving(run, watch)) << run.errors();
    const auto killat = clock::now() + std::chrono::microseconds(moment(random));
    while (clock::now() < killat) {
    }  // a sleep could overshoot by more than the whole save
    kill(run.pid, SIGKILL);
    killedinsave += run.waitforexit() == 128 + SIGKILL;
    const bytes now = readbytes(configpath(dir));
    EXPECT_TRUE(now == old || now == renewed) << "a torn file of " << now.size() << " bytes";
    EXPECT_LE(leftovers(dir).size(), 1u) << "temporaries pile up";
  }
  EXPECT_GT(killedinsave, 0);
  // the next clean run leaves none
  writebytes(configpath(dir), old);
  EXPECT_EQ(runandclose(dir), 0);
  EXPECT_EQ(readbytes(configpath(dir)), renewed);
  EXPECT_TRUE(leftovers(dir).empty());
}

TEST(lifecycle, a_logout_ends_it_in_order_and_saves)
{
  std::string dir = makeworkdir();
  setuprun run(dir);
  ASSERT_TRUE(run.waitforwindow()) << run.errors();
  run.press("f");
  kill(run.pid, SIGTERM);
  EXPECT_EQ(run.waitforexit(), 0) << run.errors();
  bytes file = readbytes(configpath(dir));
  ASSERT_EQ(file.size(), 444u);
  EXPECT_EQ(le32at(file, 16), 1u);  // the full-screen choice made before the logout
}

// every core kept busy while it lives, as a player's other work would; each spinner ends itself
// within a minute should the test die first
class busymachine {
  std::vector<pid_t> spinners;

public:
  busymachine()
  {
    for (long core = 0; core < sysconf(_SC_NPROCESSORS_ONLN); ++core) {
      const pid_t pid = fork();
      if (pid == 0) {
        alarm(60);
        for (volatile unsigned long spin = 0;; spin = spin + 1) {
        }
      }
      spinners.push_back(pid);
    }
  }
  ~busymachine()
  {
    for (pid_t pid : spinners) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
};

// waits for the window to be shown, or hidden; false when it is not in time
bool waitshown(setuprun &run, bool shown, int timeoutms = 5000)
{
  for (int waited = 0; waited < timeoutms && run.shown() != shown; waited += 50)
    usleep(50 * 1000);
  return run.shown() == shown;
}

// shown again, and still shown several slow frames later
bool staysshown(setuprun &run)
{
  if (!waitshown(run, true))
    return false;
  usleep(1600 * 1000);
  return run.shown();
}

TEST(lifecycle, f12_on_a_slow_busy_machine_never_ends_it_nor_leaves_it_minimised)
{
  windowmanager openbox;  // one that minimises
  busymachine busy;
  std::vector<std::string> prefix = slowframes();
  prefix.push_back("TAVREL_SWAPDELAYMS=400");  // frames of a slow machine
  std::string dir = makeworkdir();
  setuprun run(dir, prefix);
  ASSERT_TRUE(run.waitforwindow(20000)) << run.errors();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    // let go as soon as the window hides, and restored at once: last frame's poll still reads
    // F12 held when the focus comes back
    run.keydown("F12");
    EXPECT_TRUE(waitshown(run, false));
    xdotool({"keyup", "F12"});
    run.restore();
    EXPECT_TRUE(staysshown(run));
    run.press("F12");
    EXPECT_TRUE(waitshown(run, false));
    run.restore();
    EXPECT_TRUE(staysshown(run));
    // held over a restore, which may hide it again, then let go before the next restore
    run.keydown("F12");
    EXPECT_TRUE(waitshown(run, false));
    run.restore();
    run.keyup("F12");
    usleep(1600 * 1000);
    run.restore();
    EXPECT_TRUE(staysshown(run));
  }
  run.closewindow();
  EXPECT_EQ(run.waitforexit(), 0) << run.errors();  // an X error would have ended it with 1
  EXPECT_EQ(readbytes(configpath(dir)).size(), 444u);
}

TEST(lifecycle, where_nothing_minimises_a_click_after_f12_works_and_takes_the_mouse_again)
{
  std::string dir = makeworkdir();
  setuprun run(dir);  // the test's display has no window manager
  ASSERT_TRUE(run.waitforwindow()) << run.errors();
  run.takefocus();
  run.press("F12");  // the mouse is let go, and the window stays
  EXPECT_FALSE(run.pointerheld());
  run.clickat(4 + 16 * 4 + 8, 368 + 8);  // on "Low Texture Detail"
  EXPECT_TRUE(run.pointerheld());
  run.closewindow();
  EXPECT_EQ(run.waitforexit(), 0) << run.errors();
  const bytes file = readbytes(configpath(dir));
  ASSERT_EQ(file.size(), 444u);
  EXPECT_EQ(le32at(file, 52), 1u);  // low texture detail on
}

// the captions' white, many more pixels of it than the compositor's own pointer has
bool showscaptions(setuprun &run)
{
  for (int waited = 0; waited < 10000; waited += 100) {
    const std::vector<unsigned char> frame = run.capture();
    size_t white = 0;
    for (size_t i = 0; i + 2 < frame.size(); i += 3)
      white += frame[i] > 200 && frame[i + 1] > 200 && frame[i + 2] > 200;
    if (white > 1000)
      return true;
    usleep(100 * 1000);
  }
  return false;
}

// on SDL 1.2 itself, X11 or nothing: one line says why; with sdl12-compat's folder first on the
// library path, as the README advises for such a session, it opens over SDL2
TEST(lifecycle, on_a_wayland_display_alone_it_opens_over_sdl2_and_says_why_not_without)
{
  std::vector<std::string> prefix = {"env"};
  for (const std::string &word : startwaylandserver())
    prefix.push_back(word);
  if (SDL_Linked_Version()->patch < 50) {  // the same library the program loads
    std::string dir = makeworkdir();
    setuprun run(dir, prefix, false);
    EXPECT_EQ(run.waitforexit(), 1);
    const std::string errors = run.errors();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(access(configpath(dir).c_str(), F_OK), -1);
    prefix.push_back("LD_LIBRARY_PATH=/usr/lib/" TAVREL_MULTIARCH "/sdl12-compat");
  }
  std::string dir = makeworkdir();
  setuprun run(dir, prefix, false);
  EXPECT_TRUE(showscaptions(run)) << run.errors();
  // the compositor's pointer, moved about by a mouse and then there by an absolute device,
  // clicks "Sound"
  run.moves = mixedmoves;
  run.clickat(4 + 16 + 8, 272 + 8);
  kill(run.pid, SIGTERM);  // as the session's logout would
  EXPECT_EQ(run.waitforexit(), 0) << run.errors();
  const bytes file = readbytes(configpath(dir));
  ASSERT_EQ(file.size(), 444u);
  EXPECT_EQ(le32at(file, 24), 0u);  // the sound, on by default, turned off
}

TEST(lifecycle, without_a_display_it_says_so_and_touches_nothing)
{
  std::string dir = makeworkdir();
  setuprun run(dir, {}, false);
  EXPECT_NE(run.waitforexit(), 0);
  EXPECT_EQ(access(configpath(dir).c_str(), F_OK), -1);
  std::string errors = run.errors();
  EXPECT_NE(errors.find("tavrel-setup:"), std::string::npos) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
}

}  // namespace
