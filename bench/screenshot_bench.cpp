// Screenshot speed: a 1280x960 screenshot (read-back, packing and file) against a plain fwrite
// of as many bytes, the fastest the file could be written; the read-back alone is timed too, so
// that the part after it shows. A private Xvfb holds the window; the files go to /tmp.
#include "engine.h"
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
  for (auto _ : state) {
    if (!screenshot()) {
      state.SkipWithError("no screenshot was written");
      break;
    }
    state.PauseTiming();
    unlink("scsht000.bmp");
    state.ResumeTiming();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(filebytes));
}

// the read-back alone, which any screenshot pays and which depends on the GL driver
void readbackonly(benchmark::State &state)
{
  for (auto _ : state) {
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, screenshotbuffer);
    benchmark::ClobberMemory();
  }
}

void plainfwrite(benchmark::State &state)
{
  std::vector<unsigned char> bytes(filebytes, 0x5a);
  for (auto _ : state) {
    FILE *file = fopen("plain.bmp", "wb");
    if (!file || fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
      state.SkipWithError("cannot write plain.bmp");
      break;
    }
    fclose(file);
    state.PauseTiming();
    unlink("plain.bmp");
    state.ResumeTiming();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(filebytes));
}

BENCHMARK(screenshotfile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readbackonly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(plainfwrite)->Unit(benchmark::kMillisecond)->UseRealTime();

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
