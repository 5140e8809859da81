// A GoogleTest main that opens one real OpenGL window under a private Xvfb before the tests run.
#include "glwindow.h"
#include "xserver.h"

#include "engine.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

namespace {

class glwindowenvironment : public ::testing::Environment {
public:
  void SetUp() override
  {
    startxserver();
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    windowinfo = {640, 480, 16, 0, 0, 1, 1};
    setgraphics(1);
    setupglattributes();
    ASSERT_TRUE(setvideomode()) << SDL_GetError();
    setuptexturenames();
  }
  void TearDown() override { SDL_Quit(); }
};

}  // namespace

rgba readpixel(int x, int y)
{
  rgba pixel;
  glReadBuffer(GL_BACK);
  glReadPixels(x, windowinfo.height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &pixel);
  return pixel;
}

std::vector<uint8_t> readframe()
{
  const int width = windowinfo.width, height = windowinfo.height;
  std::vector<uint8_t> bottomup(size_t(width) * height * 4), topdown(bottomup.size());
  glReadBuffer(GL_BACK);
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomup.data());
  glPopClientAttrib();
  const size_t row = size_t(width) * 4;
  for (int y = 0; y < height; ++y)
    std::copy_n(&bottomup[(height - 1 - y) * row], row, &topdown[y * row]);
  return topdown;
}

void clearframe()
{
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
}

int main(int argc, char **argv)
{
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new glwindowenvironment);
  return RUN_ALL_TESTS();
}
