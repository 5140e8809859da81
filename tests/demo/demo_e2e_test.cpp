// Tavrel Demo as a player meets it: the real set-up utility driven in a fresh game folder, then
// the demo started there and seen through its own screenshot and its window, and heard through
// SDL's disk audio driver. The size, the mouse, the texture detail, the text colour and the sound
// (the game folder's music) follow the choices, a focus change keeps the mouse as chosen, and
// Escape ends the demo with hwconfig.cfg as the set-up utility left it.
#include "imagefiles.h"
#include "setuprun.h"
#include "xserver.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace {

struct rgb {
  int r, g, b;
  bool operator==(const rgb &o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const rgb &o) const { return !(*this == o); }
};

std::ostream &operator<<(std::ostream &out, const rgb &c)
{
  return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

const rgb normalfloor{200, 60, 40}, lowfloor{40, 160, 80};

// the pixel at a point of the virtual 640x480 screen, scaled to the window's size
rgb pixelat(const image &shot, int x, int y)
{
  const int wx = x * shot.width / 640, wy = y * shot.height / 480;
  const unsigned char *p = &shot.rgba[(size_t(wy) * shot.width + wx) * 4];
  return {p[0], p[1], p[2]};
}

// some pixel of the virtual rectangle is the colour: the strokes of text drawn in it
bool shows(const image &shot, int left, int top, int right, int bottom, rgb colour)
{
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (pixelat(shot, x, y) == colour)
        return true;
  return false;
}

// a game folder with a floor of each detail, in two plain colours, one a BMP, one a PNG
std::string makegamefolder()
{
  const std::string dir = makeworkdir();
  const std::tuple<const char *, rgb, const char *> floors[] = {
      {"/texture", normalfloor, "/floor.bmp"}, {"/texturelow", lowfloor, "/floor.png"}};
  for (const auto &[folder, colour, name] : floors) {
    mkdir((dir + folder).c_str(), 0755);
    EXPECT_TRUE(convertimage("-size 64x64 xc:'rgb(" + std::to_string(colour.r) + "," +
                             std::to_string(colour.g) + "," + std::to_string(colour.b) +
                             ")' -type TrueColor " + dir + folder + name));
  }
  return dir;
}

// what a player chooses in the set-up utility, which starts without hwconfig.cfg at 640x480,
// the mouse unlocked, normal detail, sound on and white text; and what the demo then shows
struct choices {
  const char *name;
  const char *resolutionkey;
  bool holdmouse;      // M: "Mouse Unlocked" off
  bool lowdetail;      // a click on "Low Texture Detail"
  bool silent;         // S: "Sound" off
  int zeroedchannel;   // the colour bar whose left end is clicked
  int width, height;
  rgb floor, text;
};

const choices playerchoices[] = {
    {"800x600, mouse unlocked, low detail, sound, cyan", "2", false, true, false, 0, 800, 600,
     lowfloor, {0, 255, 255}},
    {"1024x768, mouse held, normal detail, silent, magenta", "3", true, false, true, 1, 1024, 768,
     normalfloor, {255, 0, 255}},
};

constexpr size_t musicframes = 2000;  // the length of the music put in the game folder

// somewhere the device played the same bytes again and again, period apart: music looping, where
// the chord would repeat only after seconds
bool loopsevery(const bytes &audio, size_t period)
{
  const size_t stretch = 2 * period;
  for (size_t at = 0; at + period + stretch <= audio.size(); at += period / 4)
    if (std::any_of(&audio[at], &audio[at + stretch], [](unsigned char b) { return b; }) &&
        std::equal(&audio[at], &audio[at + stretch], &audio[at + period]))
      return true;
  return false;
}

void setup(const std::string &dir, const choices &chosen)
{
  setuprun run(dir);
  ASSERT_TRUE(run.waitforwindow()) << run.errors();
  run.press(chosen.resolutionkey);
  if (chosen.holdmouse)
    run.press("m");
  if (chosen.lowdetail)
    run.clickat(60, 374);
  if (chosen.silent)
    run.press("s");
  run.press("t");
  run.clickat(288, 48 + 64 * chosen.zeroedchannel);
  run.press("Escape");
  ASSERT_EQ(run.waitforexit(), 0) << run.errors();
}

// the demo's next screenshot (P), read by an independent decoder
image screenshot(setuprun &demo, int number)
{
  demo.press("p");
  char name[32];
  snprintf(name, sizeof name, "/scsht%03d.bmp", number);
  image shot;
  for (int waited = 0; waited < 5000 && shot.width == 0; waited += 50) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    shot = stbdecode(readbytes(demo.dir + name));
  }
  return shot;
}

TEST(demo, starts_as_the_player_chose_and_stores_nothing)
{
  startxserver("3840x2160");  // where the set-up utility may show larger, and a game may not
  for (const choices &chosen : playerchoices) {
    SCOPED_TRACE(chosen.name);
    const std::string dir = makegamefolder();
    ASSERT_NO_FATAL_FAILURE(setup(dir, chosen));
    const bytes stored = readbytes(dir + "/hwconfig.cfg");
    mkdir((dir + "/sound").c_str(), 0755);
    writebytes(dir + "/sound/music.ogg", readbytes(TAVREL_MUSIC));
    const std::string played = dir + "/played.raw";  // what the sound device would play
    setuprun demo(dir, {"env", "SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + played}, true,
                  TAVREL_DEMO_BINARY);
    ASSERT_TRUE(demo.waitforwindow(10000, "Tavrel Demo")) << demo.errors();
    demo.takefocus();  // as a window manager gives a new window the focus

    const image shot = screenshot(demo, 0);
    ASSERT_EQ(shot.width, chosen.width) << demo.errors();
    EXPECT_EQ(shot.height, chosen.height);
    int width, height;
    demo.windowsize(width, height);
    EXPECT_EQ(width, chosen.width) << "the window shown";
    EXPECT_EQ(height, chosen.height);
    EXPECT_EQ(pixelat(shot, 320, 420), chosen.floor);  // just ahead of the player
    EXPECT_NE(pixelat(shot, 320, 120), chosen.floor);  // the view starts level, the sky above
    EXPECT_TRUE(shows(shot, 8, 8, 200, 24, chosen.text)) << "the score's colour";
    EXPECT_EQ(demo.pointerheld(), chosen.holdmouse);
    // the probe's warp of the pointer is a turn like any other motion: the view as it left it
    const bool floorabove = pixelat(screenshot(demo, 1), 320, 120) == chosen.floor;
    demo.losefocus();
    EXPECT_FALSE(demo.pointerheld()) << "without the focus";
    xdotool({"mousemove", "900", "700"});  // the player's mouse, far outside the window
    demo.takefocus();
    // the grab that takes the pointer back is no turn of the player's: once the grab's motion
    // has come (the probe would add its own), the view is as it was
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(pixelat(screenshot(demo, 2), 320, 120) == chosen.floor, floorabove)
        << "after a focus change";
    EXPECT_EQ(demo.pointerheld(), chosen.holdmouse) << "after a focus change";

    // the Escape that ends the typing of the name is the field's: the demo goes on
    for (const char *key : {"Tab", "n", "Escape"})
      demo.press(key);
    EXPECT_EQ(screenshot(demo, 3).width, chosen.width) << "ended by the name field's Escape";
    demo.press("Escape");
    EXPECT_EQ(demo.waitforexit(), 0) << demo.errors();
    EXPECT_EQ(readbytes(dir + "/hwconfig.cfg"), stored);
    EXPECT_EQ(demo.errors().find("tavrel-demo:"), std::string::npos) << demo.errors();

    // the game folder's music reaches the device, looping, when sound is on; with it off no
    // device is opened at all
    if (chosen.silent)
      EXPECT_EQ(access(played.c_str(), F_OK), -1) << "a sound device was opened";
    else
      EXPECT_TRUE(loopsevery(readbytes(played), musicframes * 4)) << "the music is not played";
  }
}

}  // namespace
