// Screenshot speed: a 1280x960 screenshot (read-back, rows and file) judged beside the GL
// read-back of the window alone plus a plain fwrite of as many bytes as the file, the least any
// screenshot needs, in the same run. A private Xvfb holds the window; the files go to /tmp.
#include "engine.h"
#include "sidebyside.h"
#include "testfiles.h"
#include "xserver.h"

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr int width = 1280, height = 960;
constexpr size_t filebytes = 54 + size_t(width) * height * 3;

void screenshotfile(benchmark::State &state)
{
  std::vector<unsigned char> pixels(size_t(width) * height * 4), file(filebytes, 0x5a);
  sidebyside(state, {"screenshot", [] { return screenshot() == 1; }, [] { unlink("scsht000.bmp"); }},
             {{"readback",
               [&] {
                 glReadBuffer(GL_BACK);
                 glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
                 benchmark::ClobberMemory();
                 return glGetError() == GL_NO_ERROR;
               }},
              {"fwrite",
               [&] {
                 FILE *out = fopen("plain.bmp", "wb");
                 const bool written = out && fwrite(file.data(), 1, file.size(), out) == file.size();
                 return out && fclose(out) == 0 && written;
               },
               [] { unlink("plain.bmp"); }}});
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(filebytes));
}

BENCHMARK(screenshotfile)->Apply(sidebysidestatistics);

}  // namespace

int main(int argc, char **argv)
{
  benchmark::Initialize(&argc, argv);
  startxserver();
  if (SDL_Init(SDL_INIT_VIDEO) != 0)
    return 1;
  windowinfo = {width, height, 32, 0, 0, 1, 1};
  setupglattributes();
  if (!setvideomode())
    return 1;
  glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  {
    scratchworkdir dir;  // both files are written here
    benchmark::RunSpecifiedBenchmarks();
  }
  SDL_Quit();
  return 0;
}
