// Sprite speed: 10,000 turned, tinted sprites in one frame through drawsprite beside the same
// quads written by hand in immediate-mode GL 1.1, the rotation computed on the CPU. Mesa's
// software renderer under a private Xvfb draws both in the calling thread, so the thread's CPU
// clock counts the whole frame: the calls and the pixels they cover. Sprites 16 virtual pixels
// on a side, and 1, where the calls themselves weigh the most.
#include "engine.h"
#include "sidebyside.h"
#include "xserver.h"

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr int numofsprites = 10000;
constexpr int spriteslot = 1, slotside = 64, spriteside = 16;

struct placedsprite {
  float x, y, turn, red, green, blue, alpha;
};

std::vector<placedsprite> scatter()
{
  std::vector<placedsprite> sprites(numofsprites);
  for (int i = 0; i < numofsprites; ++i)
    sprites[i] = {float(i * 37 % 640), float(i * 91 % 480), float(i % 360), float(i % 3) / 2,
                  float(i % 5) / 4, 1, 0.5f + float(i % 2) / 2};
  return sprites;
}

// a 64x64 slot of which each sprite shows the 16x16 block at (16, 16)
void fillslot()
{
  auto *pixels = static_cast<unsigned char *>(malloc(texturebytes(slotside, slotside, 0)));
  for (int i = 0; i < slotside * slotside * 4; ++i)
    pixels[i] = uint8_t(i * 7);
  settexture(spriteslot, slotside, slotside, 0, pixels);
  uploadtexture(spriteslot, GL_CLAMP, GL_LINEAR, GL_LINEAR);
}

bool drawwithcalls(const std::vector<placedsprite> &sprites, float side)
{
  const float scale = side / spriteside;
  for (const placedsprite &s : sprites)
    drawsprite(spriteslot, 16, 16, spriteside, spriteside, s.x, s.y, scale, s.turn, s.red,
               s.green, s.blue, s.alpha);
  glFinish();
  return glGetError() == GL_NO_ERROR;
}

bool drawbyhand(const std::vector<placedsprite> &sprites, float side)
{
  const float s0 = 16.0f / slotside, s1 = 32.0f / slotside, half = side / 2;
  glBindTexture(GL_TEXTURE_2D, texture[spriteslot].glname);
  for (const placedsprite &s : sprites) {
    const float radians = s.turn * float(M_PI) / 180, c = std::cos(radians), n = std::sin(radians);
    glColor4f(s.red, s.green, s.blue, s.alpha);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, s0), glVertex2f(s.x + (-half * c + half * n), s.y + (-half * n - half * c));
    glTexCoord2f(s1, s0), glVertex2f(s.x + (half * c + half * n), s.y + (half * n - half * c));
    glTexCoord2f(s1, s1), glVertex2f(s.x + (half * c - half * n), s.y + (half * n + half * c));
    glTexCoord2f(s0, s1), glVertex2f(s.x + (-half * c - half * n), s.y + (-half * n + half * c));
    glEnd();
  }
  glFinish();
  return glGetError() == GL_NO_ERROR;
}

void turnedtintedsprites(benchmark::State &state)
{
  const std::vector<placedsprite> sprites = scatter();
  const float side = float(state.range(0));
  setupscreen2d();
  sidebyside(state, {"drawsprite", [&] { return drawwithcalls(sprites, side); }},
             {{"byhand", [&] { return drawbyhand(sprites, side); }}});
  state.SetItemsProcessed(int64_t(state.iterations()) * numofsprites);
}

BENCHMARK(turnedtintedsprites)->Arg(spriteside)->Arg(1)->Apply(sidebysidestatistics);

}  // namespace

int main(int argc, char **argv)
{
  benchmark::Initialize(&argc, argv);
  setenv("LP_NUM_THREADS", "0", 1);  // rasterise in this thread, where its clock counts it
  startxserver();
  if (SDL_Init(SDL_INIT_VIDEO) != 0)
    return 1;
  windowinfo = {640, 480, 32, 0, 0, 1, 1};
  setgraphics(1);
  setupglattributes();
  if (!setvideomode())
    return 1;
  setuptexturenames();
  fillslot();
  benchmark::RunSpecifiedBenchmarks();
  SDL_Quit();
  return 0;
}
