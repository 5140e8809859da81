// The engine's loaders beside the libraries a game programmer would otherwise pick, in the same
// iterations and on the same files: stb_image and SDL_image (decoding to RGBA) for a 4096x4096
// 24-bit BMP, plain and run-length 32-bit 4096x4096 TGAs and 256 of each at 64x64, a 4096x4096
// RGBA PNG and 256 at 64x64 (written by libpng at zlib's default level), and SDL_mixer
// for 8 WAV files of 1 to 3.45 s that need no rate change, loaded into fresh pages or into pages
// used before, and for 8 looping channels mixed for a minute of audio.
// Each loading job first checks that the outputs agree. SDL_mixer mixes in SDL's audio thread,
// which the disk driver runs as fast as it can; its callback is timed by that thread's CPU clock,
// from the music hook that starts each block to the post-mix hook that ends it.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "engine.h"
#include "sidebyside.h"
#include "sound/soundmix.h"
#include "testfiles.h"

#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>
#include <cstring>
#include <malloc.h>
#include <png.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int bigside = 4096, smallside = 64, batch = 256, wavs = 8;

void randompixels(bytewriter &file, size_t count, unsigned seed)
{
  std::mt19937 random(seed);
  for (size_t i = 0; i < count; ++i)
    file.u8(uint8_t(random()));
}

bytes tgaheader(int side, int type)
{
  bytewriter file;
  for (int field = 0; field < 12; ++field)
    file.u8(field == 2 ? uint8_t(type) : 0);
  file.u16(uint16_t(side));
  file.u16(uint16_t(side));
  file.u8(32);
  file.u8(8);
  return file.bytes;
}

// runs of 1 to 16 pixels of one colour, each a packet, as a paint program leaves flat areas
bytes tgaruns(int side, unsigned seed)
{
  bytewriter file;
  file.bytes = tgaheader(side, 10);
  std::mt19937 random(seed);
  for (size_t pixels = 0, total = size_t(side) * side; pixels < total;) {
    const size_t length = std::min<size_t>(1 + random() % 16, total - pixels);
    file.u8(uint8_t(0x80 | (length - 1)));
    file.u32(uint32_t(random()));
    pixels += length;
  }
  return file.bytes;
}

bytes tgaplain(int side, unsigned seed)
{
  bytewriter file;
  file.bytes = tgaheader(side, 2);
  randompixels(file, size_t(side) * side * 4, seed);
  return file.bytes;
}

// a picture as an artist's texture might be: smooth shading with a little grain, and alpha that
// fades across it, which deflate shrinks to about a third
void pngpicture(const std::string &path, int side, unsigned seed)
{
  std::mt19937 random(seed);
  std::vector<unsigned char> pixels(size_t(side) * side * 4);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      unsigned char *p = &pixels[(size_t(y) * side + x) * 4];
      const int grain = int(random() % 9);
      p[0] = uint8_t(x * 255 / side + grain);
      p[1] = uint8_t(y * 255 / side + grain);
      p[2] = uint8_t((x + y) * 127 / side + grain + seed);
      p[3] = uint8_t(255 - x * 128 / side);
    }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = uint32_t(side);
  image.height = uint32_t(side);
  image.format = PNG_FORMAT_RGBA;
  png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr);
}

bytes bmpplain(int side, unsigned seed)
{
  bytewriter file = bmpfileheader(side, side, 0);
  randompixels(file, bmprowbytes(side) * side, seed);
  return file.bytes;
}

// 16-bit stereo noise at the mixer's rate, 1 s long for seed 0 and 0.35 s longer for each seed
// after, as a game's sounds are of many lengths
bytes wavfile(unsigned seed)
{
  const uint32_t samplebytes = uint32_t(soundrate * (1 + 0.35 * seed)) * 4;
  bytewriter file;
  for (uint32_t field : {0x46464952u, 36 + samplebytes, 0x45564157u, 0x20746D66u, 16u})
    file.u32(field);
  file.u16(1);
  file.u16(2);
  file.u32(soundrate);
  file.u32(soundrate * 4);
  file.u16(4);
  file.u16(16);
  file.u32(0x61746164u);
  file.u32(samplebytes);
  randompixels(file, samplebytes, seed);
  return file.bytes;
}

std::string inside(const char *folder, const std::string &name)
{
  return std::string(folder) + "/" + name;
}

std::vector<std::string> names(const std::string &stem, int count, const char *extension)
{
  std::vector<std::string> list;
  for (int i = 0; i < count; ++i)
    list.push_back(stem + std::to_string(i) + extension);
  return list;
}

// the image through SDL_image, as RGBA bytes in memory order
unsigned char *sdlimage(const std::string &path, SDL_Surface **kept)
{
  SDL_Surface *loaded = IMG_Load(path.c_str());
  if (!loaded)
    return nullptr;
  SDL_PixelFormat rgba = *loaded->format;
  rgba.BitsPerPixel = 32;
  rgba.BytesPerPixel = 4;
  rgba.Rmask = 0x000000FF, rgba.Gmask = 0x0000FF00, rgba.Bmask = 0x00FF0000;
  rgba.Amask = 0xFF000000;
  rgba.Rshift = 0, rgba.Gshift = 8, rgba.Bshift = 16, rgba.Ashift = 24;
  rgba.Rloss = rgba.Gloss = rgba.Bloss = rgba.Aloss = 0;
  rgba.palette = nullptr;
  *kept = SDL_ConvertSurface(loaded, &rgba, SDL_SWSURFACE);
  SDL_FreeSurface(loaded);
  return *kept ? static_cast<unsigned char *>((*kept)->pixels) : nullptr;
}

using fileloader = void (*)(int slot, const char *name);
void bmp(int slot, const char *name)
{
  loadtexturebmp(slot, name, 0);
}
void tga(int slot, const char *name)
{
  loadtexturetga(slot, name, 0, 0);
}
void png(int slot, const char *name)
{
  loadtexturepng(slot, name, 0);
}

// the three decoders give the same pixels for the first file
bool samepixels(const std::string &name, fileloader load)
{
  load(0, name.c_str());
  const std::string path = inside(texturefolder, name);
  int width = 0, height = 0, channels;
  unsigned char *stb = stbi_load(path.c_str(), &width, &height, &channels, 4);
  SDL_Surface *surface = nullptr;
  const unsigned char *sdl = sdlimage(path, &surface);
  const size_t count = size_t(width) * height * 4;
  const bool same = stb && sdl && texture[0].data && width == texture[0].width &&
                    memcmp(stb, texture[0].data, count) == 0 &&
                    memcmp(sdl, texture[0].data, count) == 0;
  stbi_image_free(stb);
  SDL_FreeSurface(surface);
  return same;
}

void images(benchmark::State &state, const std::vector<std::string> &files, fileloader load)
{
  if (!samepixels(files[0], load)) {
    state.SkipWithError("the decoders disagree");
    return;
  }
  sidebyside(state,
             {"engine",
              [&] {
                for (size_t i = 0; i < files.size(); ++i)
                  load(int(i), files[i].c_str());
                return textureloaderror() == nullptr;
              }},
             {{"stb",
               [&] {
                 bool done = true;
                 for (const std::string &name : files) {
                   int width, height, channels;
                   unsigned char *pixels =
                       stbi_load(inside(texturefolder, name).c_str(), &width, &height, &channels, 4);
                   done = done && pixels;
                   stbi_image_free(pixels);
                 }
                 return done;
               }},
              {"sdlimage", [&] {
                 bool done = true;
                 for (const std::string &name : files) {
                   SDL_Surface *surface = nullptr;
                   done = sdlimage(inside(texturefolder, name), &surface) && done;
                   SDL_FreeSurface(surface);
                 }
                 return done;
               }}});
  for (int slot = 0; slot < int(files.size()); ++slot)
    freetexture(slot);
}

// the engine's and SDL_mixer's samples agree for the first file
bool samesamples(const std::string &name)
{
  Mix_Chunk *chunk = Mix_LoadWAV(inside(soundfolder, name).c_str());
  const bool same = chunk && loadsound(0, name.c_str()) && chunk->alen == sound[0].length &&
                    memcmp(chunk->abuf, sound[0].samples, chunk->alen) == 0;
  Mix_FreeChunk(chunk);
  freesound(0);
  return same;
}

// the 8 files into empty slots and new chunks, each freed after its loads outside the timing, as
// a game loads a level's sounds. With freshpages the heap's free pages go back to the system as
// well, so that every load takes new pages and faults them in, as a game's first loads do;
// without, a load reuses pages the other loader has just written
void wavloads(benchmark::State &state, bool freshpages)
{
  const std::vector<std::string> files = names("noise", wavs, ".wav");
  if (!samesamples(files[0])) {
    state.SkipWithError("the WAV loaders disagree");
    return;
  }
  std::vector<Mix_Chunk *> chunks(files.size());
  const auto release = [freshpages] {
    if (freshpages)
      malloc_trim(0);
  };
  sidebyside(state,
             {"engine",
              [&] {
                bool done = true;
                for (size_t i = 0; i < files.size(); ++i)
                  done = loadsound(int(i), files[i].c_str()) && done;
                return done;
              },
              [&] {
                for (int slot = 0; slot < wavs; ++slot)
                  freesound(slot);
                release();
              }},
             {{"sdlmixer",
               [&] {
                 for (size_t i = 0; i < files.size(); ++i)
                   chunks[i] = Mix_LoadWAV(inside(soundfolder, files[i]).c_str());
                 return std::find(chunks.begin(), chunks.end(), nullptr) == chunks.end();
               },
               [&] {
                 for (Mix_Chunk *&chunk : chunks)
                   Mix_FreeChunk(chunk), chunk = nullptr;
                 release();
               }}});
}

constexpr int mixedframes = 60 * soundrate;  // a minute of audio

// what SDL_mixer's callback has taken so far, in the audio thread
std::atomic<double> callbackseconds{0};
std::atomic<long> callbackframes{0};
double callbackstart = 0;

void startofblock(void *, Uint8 *, int)
{
  callbackstart = threadseconds();
}

void endofblock(void *, Uint8 *, int bytes)
{
  callbackseconds = callbackseconds + threadseconds() - callbackstart;
  callbackframes += bytes / 4;
}

// a minute of SDL_mixer's mixing of the 8 channels; the device is open only while it plays, so
// its thread takes no processor from the other jobs
double sdlmixerminute(const std::vector<Mix_Chunk *> &chunks)
{
  if (Mix_OpenAudio(soundrate, AUDIO_S16SYS, 2, soundblockframes) != 0)
    return -1;
  Mix_HookMusic(startofblock, nullptr);
  Mix_SetPostMix(endofblock, nullptr);
  callbackseconds = 0;
  callbackframes = 0;
  for (int channel = 0; channel < wavs; ++channel) {
    Mix_Volume(channel, int(MIX_MAX_VOLUME * (0.5f + 0.05f * channel)));
    const int right = int(255 * (0.1f + 0.1f * channel));
    Mix_SetPanning(channel, uint8_t(255 - right), uint8_t(right));
    Mix_PlayChannel(channel, chunks[size_t(channel)], -1);
  }
  while (callbackframes < mixedframes)
    SDL_Delay(1);
  Mix_CloseAudio();
  return callbackseconds;
}

// the engine's mixer on the same sounds, volumes and balances, a block at a time
void enginemixerminute()
{
  for (int slot = 0; slot < wavs; ++slot)
    playsound(slot, -1, 0.5f + 0.05f * slot, -0.8f + 0.2f * slot, 1);
  static int16_t block[soundblockframes * 2];
  for (int done = 0; done < mixedframes; done += soundblockframes)
    mixsound(block, std::min(soundblockframes, mixedframes - done));
  benchmark::ClobberMemory();
  stopallsounds();
}

void mixing(benchmark::State &state)
{
  const std::vector<std::string> files = names("noise", wavs, ".wav");
  std::vector<Mix_Chunk *> chunks;
  for (size_t i = 0; i < files.size(); ++i) {
    chunks.push_back(Mix_LoadWAV(inside(soundfolder, files[i]).c_str()));
    loadsound(int(i), files[i].c_str());
  }
  Mix_CloseAudio();  // reopened for each minute, as fast as the disk driver goes
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  double engine = 0, library = 0;
  for (auto _ : state) {
    const double sdl = sdlmixerminute(chunks);
    const double start = threadseconds();
    enginemixerminute();
    const double took = threadseconds() - start;
    if (sdl < 0) {
      state.SkipWithError("SDL_mixer opened no device");
      break;
    }
    state.SetIterationTime(took);
    engine += took;
    library += sdl;
  }
  state.counters["sdlmixer_us"] = benchmark::Counter(library * 1e6, benchmark::Counter::kAvgIterations);
  state.counters["sdlmixer_ratio"] = library > 0 ? engine / library : 0;
  setenv("SDL_DISKAUDIODELAY", "150", 1);
  Mix_OpenAudio(soundrate, AUDIO_S16SYS, 2, soundblockframes);
  for (Mix_Chunk *chunk : chunks)
    Mix_FreeChunk(chunk);
}

const std::vector<std::string> bigbmp = {"big.bmp"}, bigtga = {"big.tga"}, bigruns = {"runs.tga"},
                               bigpng = {"big.png"};
const std::vector<std::string> smalltgas = names("small", batch, ".tga"),
                               smallruns = names("smallruns", batch, ".tga"),
                               smallpngs = names("small", batch, ".png");

BENCHMARK_CAPTURE(images, bmp4096, bigbmp, bmp)->Apply(sidebysidestatistics);
BENCHMARK_CAPTURE(images, tga4096, bigtga, tga)->Apply(sidebysidestatistics);
BENCHMARK_CAPTURE(images, tgaruns4096, bigruns, tga)->Apply(sidebysidestatistics);
BENCHMARK_CAPTURE(images, tga64x256, smalltgas, tga)->Apply(sidebysidestatistics);
BENCHMARK_CAPTURE(images, tgaruns64x256, smallruns, tga)->Apply(sidebysidestatistics);
BENCHMARK_CAPTURE(images, png4096, bigpng, png)->Apply(sidebysidestatistics);
BENCHMARK_CAPTURE(images, png64x256, smallpngs, png)->Apply(sidebysidestatistics);
BENCHMARK_CAPTURE(wavloads, freshpages, true)->Apply(sidebysidestatistics);
BENCHMARK_CAPTURE(wavloads, reusedpages, false)->Apply(sidebysidestatistics);
BENCHMARK(mixing)->Apply(sidebysidestatistics)->Iterations(3);

void writefiles()
{
  mkdir(texturefolder, 0755);
  mkdir(soundfolder, 0755);
  writebytes(inside(texturefolder, "big.bmp"), bmpplain(bigside, 1));
  writebytes(inside(texturefolder, "big.tga"), tgaplain(bigside, 2));
  writebytes(inside(texturefolder, "runs.tga"), tgaruns(bigside, 3));
  pngpicture(inside(texturefolder, "big.png"), bigside, 4);
  for (int i = 0; i < batch; ++i) {
    writebytes(inside(texturefolder, smalltgas[i]), tgaplain(smallside, 10 + i));
    writebytes(inside(texturefolder, smallruns[i]), tgaruns(smallside, 10 + i));
    pngpicture(inside(texturefolder, smallpngs[i]), smallside, 10 + i);
  }
  for (int i = 0; i < wavs; ++i)
    writebytes(inside(soundfolder, "noise" + std::to_string(i) + ".wav"), wavfile(i));
}

}  // namespace

int main(int argc, char **argv)
{
  benchmark::Initialize(&argc, argv);
  // SDL_mixer opens the disk driver's device at the engine's rate; the engine's slots are filled
  // without a device of their own, as the mixer benchmark does
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  if (SDL_Init(SDL_INIT_AUDIO) != 0 || Mix_OpenAudio(soundrate, AUDIO_S16SYS, 2, soundblockframes) != 0)
    return 1;
  sounddevice = {1, soundrate};
  scratchworkdir folder;
  writefiles();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  Mix_CloseAudio();
  SDL_Quit();
  return 0;
}
