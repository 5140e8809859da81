// Loader and mipmap speed, each judged beside the least its work needs, in the same run: a
// 1024x1024 24-bit BMP and 32-bit TGA loaded into a slot (graphics off, the file in the page
// cache) beside a plain fread of the file and a copy of it into place; a batch of 256 files of
// 64x64, as a game loads them, beside the same for each; a 1024x1024 mipmap chain beside a memcpy
// of its level 0. The decoders alone are timed beside a memcpy of the file, which shows how close
// they run to the machine's copy speed, and stb_image for reference.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "engine.h"
#include "sidebyside.h"
#include "testfiles.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int side = 1024, smallside = 64, batch = 256;

void randombytes(bytewriter &file, size_t count, unsigned seed)
{
  std::mt19937 random(seed);
  for (size_t i = 0; i < count; ++i)
    file.u8(uint8_t(random()));
}

// rows bottom-up, as most writers store them
bytes bmpfile(int width, unsigned seed)
{
  bytewriter file = bmpfileheader(width, width, 0);
  randombytes(file, bmprowbytes(width) * width, seed);
  return file.bytes;
}

// 32 bits with 8 of alpha, rows bottom-up
bytes tgafile(int width, unsigned seed)
{
  bytewriter file;
  for (int field = 0; field < 12; ++field)  // no ID, no colour map, origin 0
    file.u8(field == 2 ? 2 : 0);           // uncompressed true colour
  file.u16(uint16_t(width));
  file.u16(uint16_t(width));
  file.u8(32);
  file.u8(8);
  randombytes(file, size_t(width) * width * 4, seed);
  return file.bytes;
}

std::string inside(const std::string &name)
{
  return std::string(texturefolder) + "/" + name;
}

std::vector<std::string> batchnames(const char *extension)
{
  std::vector<std::string> names;
  for (int i = 0; i < batch; ++i)
    names.push_back("small" + std::to_string(i) + extension);
  return names;
}

// open, allocate, read whole, close, and copy the bytes into place: the least any loader of the
// file has to do, its pixels being in a slot of their own at the end
bool plainfread(const std::string &path, std::vector<unsigned char> &place)
{
  struct stat info;
  FILE *file = fopen(path.c_str(), "rb");
  if (!file || fstat(fileno(file), &info) != 0) {
    if (file)
      fclose(file);
    return false;
  }
  const size_t size = size_t(info.st_size);
  unsigned char *bytes = static_cast<unsigned char *>(malloc(size));
  const bool read = bytes && fread(bytes, 1, size, file) == size;
  fclose(file);
  if (read)
    memcpy(place.data(), bytes, std::min(size, place.size()));
  benchmark::ClobberMemory();
  free(bytes);
  return read;
}

using pathloader = void (*)(int slot, const char *path);
void loadbmp(int slot, const char *path) { loadtexturebmp(slot, path, 0); }
void loadtga(int slot, const char *path) { loadtexturetga(slot, path, 0, 0); }

// names of images of side x side loaded into slots 0 up beside freads of the same files, each
// copied into a buffer of a slot's size
void loadfiles(benchmark::State &state, pathloader load, const std::vector<std::string> &names,
               int imageside)
{
  std::vector<unsigned char> place(texturebytes(imageside, imageside, 0));
  sidebyside(state,
             {"load",
              [&] {
                for (size_t i = 0; i < names.size(); ++i)
                  load(int(i), names[i].c_str());
                return textureloaderror() == nullptr;
              }},
             {{"fread", [&] {
                 bool read = true;
                 for (const std::string &name : names)
                   read = plainfread(inside(name), place) && read;
                 return read;
               }}});
}

void bmp1024(benchmark::State &state) { loadfiles(state, loadbmp, {"big.bmp"}, side); }
void tga1024(benchmark::State &state) { loadfiles(state, loadtga, {"big.tga"}, side); }
void bmpbatch(benchmark::State &state)
{
  loadfiles(state, loadbmp, batchnames(".bmp"), smallside);
}
void tgabatch(benchmark::State &state)
{
  loadfiles(state, loadtga, batchnames(".tga"), smallside);
}

std::vector<unsigned char> mipmapbuffer()
{
  std::vector<unsigned char> pixels(texturebytes(side, side, 1));
  std::mt19937 random(9);
  for (size_t i = 0; i < size_t(side) * side * 4; ++i)
    pixels[i] = uint8_t(random());
  return pixels;
}

// the chain as generatemipmap builds it, without the uploads, beside a copy of level 0
void mipmapchain(benchmark::State &state)
{
  std::vector<unsigned char> pixels = mipmapbuffer(), copy = mipmapbuffer();
  const size_t level0 = size_t(side) * side * 4;
  sidebyside(state,
             {"chain",
              [&] {
                buildmipmaps(pixels.data(), side, side);
                benchmark::ClobberMemory();
                return true;
              }},
             {{"memcpy", [&] {
                 memcpy(&copy[level0], &copy[0], level0);
                 benchmark::ClobberMemory();
                 return true;
               }}});
}

using decoder = int (*)(int slot, const unsigned char *bytes, size_t count, int mipmap);

// the decoder alone, the file already in memory, beside a memcpy of the file into a buffer of the
// slot's size: what the loader adds to reading the file, against the copy speed of the machine
void decodeonly(benchmark::State &state, const char *name, decoder decode)
{
  const bytes file = readbytes(inside(name));
  std::vector<unsigned char> copy(texturebytes(side, side, 0));
  sidebyside(state, {"decode", [&] { return decode(3, file.data(), file.size(), 0) == 1; }},
             {{"memcpy", [&] {
                 memcpy(copy.data(), file.data(), std::min(file.size(), copy.size()));
                 benchmark::ClobberMemory();
                 return true;
               }}});
}

void stbimage(benchmark::State &state, const char *name)
{
  const std::string path = inside(name);
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

BENCHMARK(bmp1024)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(tga1024)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(bmpbatch)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(tgabatch)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(mipmapchain)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeonly, bmp, "big.bmp", loadtexturebmpbytes)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeonly, tga, "big.tga", loadtexturetgabytes)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(stbimage, bmp, "big.bmp")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(stbimage, tga, "big.tga")->Unit(benchmark::kMicrosecond);

// the image files, in the "texture" folder of a scratch working directory
void writeimages()
{
  mkdir(texturefolder, 0755);
  writebytes(inside("big.bmp"), bmpfile(side, 7));
  writebytes(inside("big.tga"), tgafile(side, 7));
  const std::vector<std::string> bmps = batchnames(".bmp"), tgas = batchnames(".tga");
  for (int i = 0; i < batch; ++i) {
    writebytes(inside(bmps[i]), bmpfile(smallside, i));
    writebytes(inside(tgas[i]), tgafile(smallside, i));
  }
}

}  // namespace

int main(int argc, char **argv)
{
  benchmark::Initialize(&argc, argv);
  scratchworkdir folder;
  writeimages();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
