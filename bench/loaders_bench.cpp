// Loader and mipmap speed. A 1024x1024 24-bit BMP and a 1024x1024 32-bit TGA are loaded into a
// slot (graphics off, the file in the page cache) beside stb_image decoding the same file to RGBA
// and a plain fread of it; a 1024x1024 mipmap chain is built beside a memcpy of its level 0.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "engine.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int side = 1024;
constexpr const char *bmpname = "bench.bmp";
constexpr const char *tganame = "bench.tga";

void randombytes(bytewriter &file, size_t count)
{
  std::mt19937 random(7);
  for (size_t i = 0; i < count; ++i)
    file.u8(uint8_t(random()));
}

std::vector<unsigned char> bmpfile()
{
  const uint32_t pixelbytes = side * side * 3;
  bytewriter file;
  file.u16(0x4D42);
  file.u32(54 + pixelbytes);
  file.u32(0);
  file.u32(54);
  file.u32(40);
  file.u32(side);
  file.u32(side);  // rows bottom-up, as most writers store them
  file.u16(1);
  file.u16(24);
  for (int field = 0; field < 6; ++field)  // compression, image size, resolution, palette
    file.u32(0);
  randombytes(file, pixelbytes);
  return file.bytes;
}

std::vector<unsigned char> tgafile()
{
  bytewriter file;
  for (int field = 0; field < 12; ++field)  // no ID, no colour map, origin 0
    file.u8(field == 2 ? 2 : 0);           // uncompressed true colour
  file.u16(side);
  file.u16(side);
  file.u8(32);
  file.u8(8);  // 8 alpha bits, rows bottom-up
  randombytes(file, size_t(side) * side * 4);
  return file.bytes;
}

std::string imagefile(const char *name)
{
  return std::string(texturefolder) + "/" + name;
}

void loadbmp(benchmark::State &state)
{
  for (auto _ : state)
    loadtexturebmp(1, bmpname, 0);
  if (texture[1].width != side)
    state.SkipWithError("the BMP was not loaded");
}

void loadtga(benchmark::State &state)
{
  for (auto _ : state)
    loadtexturetga(2, tganame, 0, 0);
  if (texture[2].width != side)
    state.SkipWithError("the TGA was not loaded");
}

using decoder = int (*)(int slot, const unsigned char *bytes, size_t count, int mipmap);

// the decoder alone, the file already in memory: what the loader adds to reading it
void decodeonly(benchmark::State &state, const char *name, decoder decode)
{
  std::vector<unsigned char> bytes;
  readwholefile(imagefile(name).c_str(), bytes);
  for (auto _ : state)
    if (!decode(3, bytes.data(), bytes.size(), 0)) {
      state.SkipWithError("the image was not accepted");
      break;
    }
}

void stbimage(benchmark::State &state, const char *name)
{
  const std::string path = imagefile(name);
  for (auto _ : state) {
    int width, height, channels;
    unsigned char *pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (!pixels) {
      state.SkipWithError("stb_image did not load the file");
      break;
    }
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
}

// open, allocate, read whole, close: the least any loader of the file has to do
void plainfread(benchmark::State &state, const char *name)
{
  const std::string path = imagefile(name);
  struct stat info;
  stat(path.c_str(), &info);
  const size_t size = size_t(info.st_size);
  for (auto _ : state) {
    FILE *file = fopen(path.c_str(), "rb");
    if (!file) {
      state.SkipWithError("cannot open the file");
      break;
    }
    unsigned char *bytes = static_cast<unsigned char *>(malloc(size));
    if (fread(bytes, 1, size, file) != size)
      state.SkipWithError("short read");
    fclose(file);
    benchmark::DoNotOptimize(bytes);
    free(bytes);
  }
}

std::vector<unsigned char> mipmapbuffer()
{
  std::vector<unsigned char> pixels(texturebytes(side, side, 1));
  std::mt19937 random(9);
  for (size_t i = 0; i < size_t(side) * side * 4; ++i)
    pixels[i] = uint8_t(random());
  return pixels;
}

// the chain as generatemipmap builds it, without the uploads
void mipmapchain(benchmark::State &state)
{
  std::vector<unsigned char> pixels = mipmapbuffer();
  for (auto _ : state) {
    buildmipmaps(pixels.data(), side, side);
    benchmark::ClobberMemory();
  }
}

void memcpylevel0(benchmark::State &state)
{
  std::vector<unsigned char> pixels = mipmapbuffer();
  const size_t level0 = size_t(side) * side * 4;
  for (auto _ : state) {
    memcpy(&pixels[level0], &pixels[0], level0);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(loadbmp)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeonly, bmp, bmpname, loadtexturebmpbytes)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(stbimage, bmp, bmpname)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(plainfread, bmp, bmpname)->Unit(benchmark::kMicrosecond);
BENCHMARK(loadtga)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeonly, tga, tganame, loadtexturetgabytes)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(stbimage, tga, tganame)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(plainfread, tga, tganame)->Unit(benchmark::kMicrosecond);
BENCHMARK(mipmapchain)->Unit(benchmark::kMicrosecond);
BENCHMARK(memcpylevel0)->Unit(benchmark::kMicrosecond);

// the image files in a scratch folder that the benchmarks run in, removed afterwards
struct benchfolder {
  char path[32] = "/tmp/tavrel-bench-XXXXXX";
  bool ready = false;

  benchfolder()
  {
    if (!mkdtemp(path) || chdir(path) != 0 || mkdir(texturefolder, 0755) != 0)
      return;
    for (const auto &[name, bytes] :
         {std::pair{bmpname, bmpfile()}, std::pair{tganame, tgafile()}}) {
      FILE *file = fopen(imagefile(name).c_str(), "wb");
      if (!file)
        return;
      const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
      if (fclose(file) != 0 || !written)
        return;
    }
    ready = true;
  }
  ~benchfolder()
  {
    for (const char *name : {bmpname, tganame})
      unlink(imagefile(name).c_str());
    rmdir(texturefolder);
    if (chdir("/") == 0)
      rmdir(path);
  }
};

}  // namespace

int main(int argc, char **argv)
{
  benchmark::Initialize(&argc, argv);
  benchfolder folder;
  if (!folder.ready) {
    fprintf(stderr, "loaders_bench: cannot write the image files under /tmp\n");
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
