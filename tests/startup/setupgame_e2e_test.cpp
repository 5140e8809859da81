// A game's start-up under a private Xvfb: the window, the mouse and the texture detail follow the
// stored settings, and a stored size no window can have falls back to 640x480 and says so.
#include "engine.h"
#include "testfiles.h"
#include "xserver.h"

#include <SDL.h>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// a version-4 file: the settings a game reads, the others at their defaults
bytes storedsettings(int width, int height, int mouseunlocked, int lowtexture)
{
  bytes file;
  appendle32(file, 4);
  for (int value : {width, height, 16, 0, 1, 1, 1, mouseunlocked, 1})
    appendle32(file, uint32_t(value));
  for (int channel = 0; channel < 3; ++channel)
    appendfloat(file, 1.0f);
  appendle32(file, uint32_t(lowtexture));
  return file;
}

// what setupgame wrote to standard error
std::string startgame()
{
  fflush(stderr);
  const int saved = dup(2);
  FILE *errors = tmpfile();
  dup2(fileno(errors), 2);
  EXPECT_EQ(setupgame("Game"), 1) << setupfailure();
  fflush(stderr);
  dup2(saved, 2);
  close(saved);
  std::string text(size_t(ftell(errors)), '\0');
  rewind(errors);
  text.resize(fread(text.data(), 1, text.size(), errors));
  fclose(errors);
  return text;
}

bool grabbed()
{
  return SDL_WM_GrabInput(SDL_GRAB_QUERY) == SDL_GRAB_ON;
}

void regainfocus()
{
  SDL_Event event = {};
  event.type = SDL_ACTIVEEVENT;
  event.active.gain = 1;
  event.active.state = SDL_APPINPUTFOCUS;
  SDL_PushEvent(&event);
  checksystemmessages();
}

TEST(setupgame, the_window_the_mouse_and_the_detail_follow_the_stored_settings)
{
  startxserver();
  const struct {
    int width, height, mouseunlocked, lowtexture;
    int windowwidth, windowheight;
    bool complains;
    const char *driver;  // the player's SDL_VIDEODRIVER, null for none
  } rows[] = {
      {800, 123, 1, 1, 800, 600, false, nullptr},  // the height the set-up utility settles for 800
      {700, 500, 0, 0, 700, 500, false, "x11"},    // a width of its own keeps its stored height
      {0, 480, 1, 0, 640, 480, true, ""},
      {20000, 480, 0, 1, 640, 480, true, nullptr},
  };
  // what the engine chooses for SDL is set only while SDL reads it, so that a program the game
  // starts takes none of it; the player's own values stay exactly as they were
  auto environmentasgiven = [](const char *driver) {
    const char *now = getenv("SDL_VIDEODRIVER");
    EXPECT_EQ(now ? std::string(now) : "(unset)", driver ? std::string(driver) : "(unset)");
    EXPECT_EQ(getenv("SDL12COMPAT_WINDOW_SCALING"), nullptr);
    EXPECT_EQ(getenv("SDL12COMPAT_SCALE_METHOD"), nullptr);
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(testing::Message() << row.width << "x" << row.height);
    scratchworkdir folder;
    if (row.driver)
      setenv("SDL_VIDEODRIVER", row.driver, 1);
    writebytes("hwconfig.cfg", storedsettings(row.width, row.height, row.mouseunlocked,
                                               row.lowtexture));
    const std::string errors = startgame();
    EXPECT_EQ(windowinfo.width, row.windowwidth);
    EXPECT_EQ(windowinfo.height, row.windowheight);
    EXPECT_EQ(errors.find("cannot use the stored size") != std::string::npos, row.complains)
        << errors;
    EXPECT_EQ(lowtexturedetail, row.lowtexture);
    EXPECT_EQ(grabbed(), !row.mouseunlocked);
    environmentasgiven(row.driver);
    regainfocus();
    EXPECT_EQ(grabbed(), !row.mouseunlocked) << "after a focus regain";
    environmentasgiven(row.driver);
    lockmouse(row.mouseunlocked);  // a game may change its mind while it runs
    EXPECT_EQ(grabbed(), row.mouseunlocked != 0);
    shutdownengine();
    unsetenv("SDL_VIDEODRIVER");
  }
  mouselocked = 1;
  lowtexturedetail = 0;
}

TEST(setupgame, frames_are_counted_and_held_to_the_cap)
{
  scratchworkdir folder;
  startgame();
  framecap = 50;
  for (int frame = 0; frame < 3; ++frame)
    swapbuffers();
  EXPECT_EQ(framecount, 3);
  EXPECT_GE(frametime, 0.019f);
  framecap = 0;
  shutdownengine();
}

}  // namespace
