// The finished set-up screen, played as a player would: keys, keypad, clicks and drags under
// Xvfb, with every choice checked in the "hwconfig.cfg" that the run leaves behind.
#include "setuprun.h"
#include "xserver.h"

#include <SDL.h>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

// where each field of the version-4 file lives
constexpr size_t widthat = 4, heightat = 8, fullscreenat = 16, soundat = 24, mouseat = 32,
                 interfaceat = 36, redat = 40, greenat = 44, blueat = 48, lowtextureat = 52;

// one run from a fresh directory: play, leave with Escape (or as play itself does), and the file
bytes play(const std::function<void(setuprun &)> &moves, bool leavewithescape = true,
           pointermoves pointing = relativemoves)
{
  std::string dir = makeworkdir();
  setuprun run(dir);
  run.moves = pointing;
  EXPECT_TRUE(run.waitforwindow()) << run.errors();
  moves(run);
  if (leavewithescape)
    run.press("Escape");
  EXPECT_EQ(run.waitforexit(), 0) << run.errors();
  return readbytes(dir + "/hwconfig.cfg");
}

// what a run that changes nothing saves: the defaults
const bytes &untouched()
{
  static const bytes file = play([](setuprun &) {});
  return file;
}

// the untouched file with some fields changed
bytes changed(const std::function<void(bytes &)> &edit)
{
  bytes file = untouched();
  edit(file);
  return file;
}

// plays with the pointer moved each way a player's devices move it: a click lands where pointed
// whether a mouse, an absolute device or the one after the other brought the pointer there
void expecteachway(const std::function<void(setuprun &)> &moves, const bytes &expected,
                   bool leavewithescape = true)
{
  for (pointermoves pointing : {relativemoves, absolutemoves, mixedmoves}) {
    SCOPED_TRACE(pointing == relativemoves ? "relative" : pointing == absolutemoves ? "absolute"
                                                                                  : "mixed");
    EXPECT_EQ(play(moves, leavewithescape, pointing), expected);
  }
}

// centre of the cell of a caption's character
constexpr int cell(int x, int character) { return x + 16 * character + 8; }

TEST(setup_resolution, each_width_by_digit_keypad_and_click_with_its_height)
{
  ASSERT_EQ(untouched().size(), 444u);
  const struct { const char *digit, *keypad; int y; uint32_t width, height; } rows[] = {
      {"2", "KP_2", 144, 800, 600},
      {"3", "KP_3", 160, 1024, 768},
      {"4", "KP_4", 176, 1280, 960},
      {"1", "KP_1", 128, 640, 480},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.digit);
    bytes expected = changed([&](bytes &file) {
      putle32(file, widthat, row.width);
      putle32(file, heightat, row.height);
    });
    // start from another width so that the choice shows
    const char *other = row.width == 1280 ? "2" : "4";
    EXPECT_EQ(play([&](setuprun &run) { run.press(other); run.press(row.digit); }), expected);
    EXPECT_EQ(play([&](setuprun &run) { run.press(other); run.press(row.keypad); }), expected);
    expecteachway([&](setuprun &run) {
      run.press(other);
      run.clickat(cell(4, 3), row.y + 8);
    }, expected);
  }
}

TEST(setup_toggles, each_toggle_by_hotkey_and_by_click_flips_once_per_press)
{
  const struct { const char *key; int y; size_t at; uint32_t start; } toggles[] = {
      {"f", 208, fullscreenat, 0},
      {"m", 240, mouseat, 1},
      {"s", 272, soundat, 1},
      {"i", 304, interfaceat, 1},
  };
  for (const auto &toggle : toggles) {
    SCOPED_TRACE(toggle.key);
    bytes flipped = changed([&](bytes &file) { putle32(file, toggle.at, toggle.start ^ 1); });
    EXPECT_EQ(play([&](setuprun &run) { run.press(toggle.key); }), flipped);
    expecteachway([&](setuprun &run) { run.clickat(cell(4, 1), toggle.y + 8); }, flipped);
    EXPECT_EQ(play([&](setuprun &run) {
                run.press(toggle.key);
                run.press(toggle.key);
                run.clickat(cell(4, 1), toggle.y + 8);
                run.clickat(cell(4, 1), toggle.y + 8);
              }),
              untouched());
  }
}

TEST(setup_toggles, a_held_hotkey_flips_only_once)
{
  bytes flipped = changed([](bytes &file) { putle32(file, fullscreenat, 1); });
  EXPECT_EQ(play([](setuprun &run) {
              run.keydown("f");
              run.keydown("f");  // the key repeats while held; the toggle does not
              run.keyup("f");
            }),
            flipped);
}

// the red bar spans x 288 to 543 at y 32 to 63, the green one y 96 to 127, the blue one 160 to 191
void dragbar(setuprun &run, int x, int y)
{
  run.pointto(x, y);
  run.buttondown();
  run.buttonup();
}

TEST(setup_toggles, low_texture_detail_and_color_answer_the_mouse_only)
{
  bytes low = changed([](bytes &file) { putle32(file, lowtextureat, 1); });
  expecteachway([](setuprun &run) { run.clickat(cell(4, 4), 368 + 8); }, low);
  // the bars stay hidden after c, so a drag where they would be changes nothing
  EXPECT_EQ(play([](setuprun &run) {
              run.press("l");
              run.press("c");
              dragbar(run, 288 + 128, 48);
            }),
            untouched());
}

TEST(setup_colour, the_bars_show_with_text_or_color_and_set_the_colour)
{
  // hidden bars ignore the drag
  EXPECT_EQ(play([](setuprun &run) { dragbar(run, 288 + 128, 48); }), untouched());

  bytes half = changed([](bytes &file) { putfloat(file, redat, 0.5f); });
  EXPECT_EQ(play([](setuprun &run) {
              run.press("t");
              dragbar(run, 288 + 128, 48);
            }),
            half);
  expecteachway([](setuprun &run) {
    run.clickat(cell(80, 1), 336 + 8);  // "Color"
    dragbar(run, 288 + 128, 48);
  }, half);
  // a second press hides them again
  EXPECT_EQ(play([](setuprun &run) {
              run.press("t");
              run.clickat(cell(80, 1), 336 + 8);
              dragbar(run, 288 + 128, 48);
            }),
            untouched());
}

TEST(setup_colour, ctrl_snaps_and_shift_copies_to_all_three)
{
  bytes snapped = changed([](bytes &file) { putfloat(file, greenat, 0.375f); });
  EXPECT_EQ(play([](setuprun &run) {
              run.press("t");
              run.keydown("Control_L");
              dragbar(run, 288 + 100, 112);  // 0.390625 snaps to 0.375
              run.keyup("Control_L");
            }),
            snapped);

  bytes grey = changed([](bytes &file) {
    for (size_t at : {redat, greenat, blueat})
      putfloat(file, at, 0.25f);
  });
  EXPECT_EQ(play([](setuprun &run) {
              run.press("t");
              run.keydown("Shift_R");  // either Shift key
              dragbar(run, 288 + 64, 176);
              run.keyup("Shift_R");
            }),
            grey);

  bytes greysnapped = changed([](bytes &file) {
    for (size_t at : {redat, greenat, blueat})
      putfloat(file, at, 0.375f);
  });
  EXPECT_EQ(play([](setuprun &run) {
              run.press("t");
              run.keydown("Control_R");
              run.keydown("Shift_L");
              dragbar(run, 288 + 100, 48);
              run.keyup("Shift_L");
              run.keyup("Control_R");
            }),
            greysnapped);
}

TEST(setup_leaving, escape_done_and_a_close_request_each_save_every_choice)
{
  auto choices = [](setuprun &run) {
    run.press("3");
    run.press("f");
    run.press("s");
    run.clickat(cell(4, 2), 368 + 8);
  };
  bytes expected = changed([](bytes &file) {
    putle32(file, widthat, 1024);
    putle32(file, heightat, 768);
    putle32(file, fullscreenat, 1);
    putle32(file, soundat, 0);
    putle32(file, lowtextureat, 1);
  });
  EXPECT_EQ(play(choices), expected);
  expecteachway([&](setuprun &run) {
    choices(run);
    run.clickat(cell(4, 1), 4 + 8);  // "Done"
  }, expected, false);
  EXPECT_EQ(play([&](setuprun &run) {
              choices(run);
              run.closewindow();
            },
                 false),
            expected);
}

// SDL 1.2 over SDL2 shows the fixed window larger on a large screen, by a whole factor, unless the
// player chose their own; SDL 1.2 itself cannot. Clicks land where the items are drawn
TEST(setup_scaling, a_large_screen_shows_a_larger_window_whose_clicks_land_on_its_items)
{
  const bool oversdl2 = SDL_Linked_Version()->patch >= 50;  // the library the program loads
  const struct { const char *screen, *playerscaling; int width, height; } screens[] = {
      {"3840x2160", nullptr, oversdl2 ? 1920 : 640, oversdl2 ? 1440 : 480},
      {"3840x2160", "2", oversdl2 ? 1280 : 640, oversdl2 ? 960 : 480},
      {"1920x1080", nullptr, 640, 480},
  };
  const bytes soundoff = changed([](bytes &file) { putle32(file, soundat, 0); });
  for (const auto &screen : screens) {
    SCOPED_TRACE(std::string(screen.screen) + (screen.playerscaling ? " scaled by the player" : ""));
    startxserver(screen.screen);
    if (screen.playerscaling)
      setenv("SDL12COMPAT_WINDOW_SCALING", screen.playerscaling, 1);
    expecteachway([&](setuprun &run) {
      int width, height;
      run.windowsize(width, height);
      EXPECT_EQ(width, screen.width);
      EXPECT_EQ(height, screen.height);
      run.clickat(cell(4, 1), 272 + 8);  // "Sound"
    }, soundoff);
    unsetenv("SDL12COMPAT_WINDOW_SCALING");
  }
  startxserver("1024x768");
}

}  // namespace
