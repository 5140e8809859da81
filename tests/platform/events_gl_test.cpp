// System events in a real GL window: the texture restore on focus regain, focus loss, F12, quit.
#include "engine.h"
#include "glwindow.h"

#include <GL/gl.h>
#include <SDL.h>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

void pushfocus(int gain, int state = SDL_APPINPUTFOCUS)
{
  SDL_Event event = {};
  event.type = SDL_ACTIVEEVENT;
  event.active.gain = Uint8(gain);
  event.active.state = Uint8(state);
  ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void pushquit()
{
  SDL_Event event = {};
  event.type = SDL_QUIT;
  ASSERT_EQ(SDL_PushEvent(&event), 0);
}

// fills a slot with seeded pixels and uploads it with settings the restore must replace
void fillslot(int slot, int width, int height, int mipmap)
{
  unsigned char *data = static_cast<unsigned char *>(malloc(texturebytes(width, height, mipmap)));
  for (int i = 0; i < width * height * 4; ++i)
    data[i] = uint8_t(i * 7 + slot);
  settexture(slot, width, height, mipmap, data);
  uploadtexture(slot, GL_CLAMP, GL_NEAREST, GL_NEAREST);
}

GLint parameter(GLenum name)
{
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
  return value;
}

std::vector<unsigned char> level(int number, int width, int height)
{
  std::vector<unsigned char> pixels(size_t(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, number, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

class eventstest : public ::testing::Test {
protected:
  void SetUp() override
  {
    windowinfo = {640, 480, 16, 0, 0, 1, 1};
    memset(keyboard, 0, keycount);
    memset(prevkeyboard, 0, keycount);
    SDL_Event drop;
    while (SDL_PollEvent(&drop)) {
    }
  }
  void TearDown() override
  {
    for (textureslot &t : texture)
      settexture(int(&t - texture), 0, 0, 0, nullptr);
    memset(keyboard, 0, keycount);
    memset(prevkeyboard, 0, keycount);
  }
};

TEST_F(eventstest, focus_regain_uploads_every_loaded_slot_with_its_range_rules)
{
  struct { int slot, width, height, mipmap; bool nearest; } slots[] = {
      {0, 4, 4, 1, false},   {69, 8, 8, 0, false},  {70, 8, 8, 1, true},  {97, 2, 2, 0, true},
      {98, 16, 16, 1, false}, {399, 4, 4, 0, false}, {400, 4, 4, 1, true}, {419, 1, 1, 0, true},
      {420, 8, 2, 1, false}, {421, 3, 5, 1, false}, {422, 1, 16, 1, false},
      {423, 33, 17, 1, false}, {511, 256, 256, 0, false}};
  for (const auto &s : slots)
    fillslot(s.slot, s.width, s.height, s.mipmap);

  pushfocus(1);
  checksystemmessages();

  EXPECT_EQ(windowinfo.active, 1);
  EXPECT_EQ(SDL_WM_GrabInput(SDL_GRAB_QUERY), SDL_GRAB_ON);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  for (const auto &s : slots) {
    SCOPED_TRACE(testing::Message() << "slot " << s.slot);
    glBindTexture(GL_TEXTURE_2D, texture[s.slot].glname);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    GLint linearmin = s.mipmap ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR;
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), s.nearest ? GL_NEAREST : GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), s.nearest ? GL_NEAREST : linearmin);

    const unsigned char *data = texture[s.slot].data;
    std::vector<unsigned char> expected(data, data + s.width * s.height * 4);
    EXPECT_EQ(level(0, s.width, s.height), expected);
    if (!s.mipmap)
      continue;
    // every level of the chain, made by the box filter from the one above it
    int width = s.width, height = s.height, number = 0;
    while (width > 1 || height > 1) {
      std::vector<unsigned char> smaller(size_t(std::max(1, width / 2)) * std::max(1, height / 2) * 4);
      halvelevel(expected.data(), width, height, smaller.data());
      width = std::max(1, width / 2);
      height = std::max(1, height / 2);
      EXPECT_EQ(level(++number, width, height), smaller) << "level " << number;
      expected = smaller;
    }
  }
}

TEST_F(eventstest, a_regain_builds_the_same_chain_every_time_in_place_after_level_zero)
{
  fillslot(3, 4, 4, 1);
  pushfocus(1);
  checksystemmessages();
  std::vector<unsigned char> first(texture[3].data, texture[3].data + texturebytes(4, 4, 1));
  pushfocus(1);
  checksystemmessages();
  EXPECT_EQ(std::vector<unsigned char>(texture[3].data, texture[3].data + first.size()), first);
  // level 1 (2x2) starts after the 16 pixels of level 0, level 2 (1x1) after its 4
  unsigned char levelone[16], leveltwo[4];
  halvelevel(first.data(), 4, 4, levelone);
  halvelevel(levelone, 2, 2, leveltwo);
  EXPECT_EQ(memcmp(&first[16 * 4], levelone, 16), 0);
  EXPECT_EQ(memcmp(&first[20 * 4], leveltwo, 4), 0);
}

TEST_F(eventstest, focus_loss_releases_the_grab_and_parks_the_mouse)
{
  pushfocus(0);
  checksystemmessages();
  EXPECT_EQ(windowinfo.active, 0);
  EXPECT_EQ(SDL_WM_GrabInput(SDL_GRAB_QUERY), SDL_GRAB_OFF);
  checkmouse();
  EXPECT_EQ(mouse.x, 320);
  EXPECT_EQ(mouse.y, 240);
  EXPECT_EQ(mouse.left, 0);
}

TEST_F(eventstest, activity_events_without_the_input_focus_bit_change_nothing)
{
  windowinfo.active = 1;
  pushfocus(0, SDL_APPMOUSEFOCUS);
  pushfocus(0, SDL_APPACTIVE);
  checksystemmessages();
  EXPECT_EQ(windowinfo.active, 1);
}

TEST_F(eventstest, a_held_f12_acts_when_an_event_is_taken_and_a_tap_at_once)
{
  Uint8 &platformf12 = SDL_GetKeyState(nullptr)[SDLK_F12];
  keyboard[SDLK_F12] = prevkeyboard[SDLK_F12] = 1;
  platformf12 = 1;
  checksystemmessages();  // held since before and the queue is empty: nothing happens
  EXPECT_EQ(windowinfo.active, 1);
  pushfocus(1);  // a restore while F12 is held hides the window again
  checksystemmessages();
  EXPECT_EQ(windowinfo.active, 0);
  EXPECT_EQ(SDL_WM_GrabInput(SDL_GRAB_QUERY), SDL_GRAB_OFF);
  // let go while the window was hidden: last frame's poll still reads it held, the restore holds
  platformf12 = 0;
  pushfocus(1);
  checksystemmessages();
  EXPECT_EQ(windowinfo.active, 1);
  EXPECT_EQ(SDL_WM_GrabInput(SDL_GRAB_QUERY), SDL_GRAB_ON);
  // a tap quicker than a frame is newly pressed in the last poll, with no event left to find it
  prevkeyboard[SDLK_F12] = 0;
  checksystemmessages();
  EXPECT_EQ(windowinfo.active, 0);
}

TEST_F(eventstest, a_quit_sets_the_flag_and_later_events_still_count)
{
  pushquit();
  pushfocus(0);
  checksystemmessages();
  EXPECT_EQ(windowinfo.quit, 1);
  EXPECT_EQ(windowinfo.active, 0);
  EXPECT_EQ(windowinfo.width, 640);
  windowinfo.quit = 0;

  // a logout's signal, whenever it comes, asks the same: the program ends in order and saves
  setupquitsignals();
  raise(SIGTERM);
  checksystemmessages();
  EXPECT_EQ(windowinfo.quit, 1);
  shutdownquitsignals();
  windowinfo.quit = 0;
}

}  // namespace
