// Mixer speed: 8 looping channels of different lengths, volumes and balances, mixed in blocks of
// 1024 frames as the audio callback mixes them, for one second of 44.1 kHz stereo each iteration;
// beside a memcpy of the 8 seconds of samples the channels read. "core_percent" is the share of
// one core that mixing takes while the sound plays (the goal: 1% at most). Then the same with
// music streamed beside them from a 44.1 kHz stereo Ogg Vorbis file (made by the Vorbis tools'
// encoder), timed by the process's CPU clock so that the decoding thread counts too, with the
// heap the music takes ("music_heap_kb") and its ring ("ring_kb").
#include "engine.h"
#include "sidebyside.h"
#include "sound/soundmix.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <random>
#include <vector>

namespace {

constexpr int loopingchannels = 8;
constexpr size_t secondbytes = size_t(soundrate) * soundframebytes;

// a slot of random samples, as a load would leave it
void fillslot(int slot, uint32_t frames)
{
  std::mt19937 random(slot);
  int16_t *samples = static_cast<int16_t *>(malloc(frames * soundframebytes));
  for (uint32_t i = 0; i < frames * 2; ++i)
    samples[i] = int16_t(random());
  sound[slot] = {samples, frames * soundframebytes};
}

// the looping channels playing, mixed by hand with no device opened
void startchannels()
{
  sounddevice = {1, soundrate};
  for (int slot = 0; slot < loopingchannels; ++slot) {
    fillslot(slot, uint32_t(5000 + 1733 * slot));  // so that the loops start over apart
    playsound(slot, -1, 0.5f + 0.05f * slot, -0.8f + 0.2f * slot, 1);
  }
}

void mixchannels(benchmark::State &state)
{
  startchannels();
  std::vector<int16_t> block(soundblockframes * 2);
  std::vector<unsigned char> from(secondbytes), to(secondbytes);
  double mixing = 0;
  sidebyside(state,
             {"mix",
              [&] {
                const auto start = std::chrono::steady_clock::now();
                for (int done = 0; done < soundrate; done += soundblockframes)
                  mixsound(block.data(), std::min(soundblockframes, soundrate - done));
                benchmark::ClobberMemory();
                mixing += std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                              .count();
                return true;
              }},
             {{"memcpy", [&] {
                 for (int channel = 0; channel < loopingchannels; ++channel)
                   memcpy(to.data(), from.data(), secondbytes);
                 benchmark::ClobberMemory();
                 return true;
               }}});
  // each iteration mixes one second of sound
  state.counters["core_percent"] = 100 * mixing / double(std::max<int64_t>(1, state.iterations()));
  shutdownsound();
}

BENCHMARK(mixchannels)->UseManualTime()->Unit(benchmark::kMicrosecond);

// the CPU time of every thread of the process
double processseconds()
{
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// 30 seconds of chords with a little noise in them, as path: music costs more than a plain tone
bool writemusic(const std::string &path)
{
  std::mt19937 random(1);
  std::vector<int16_t> frames;
  for (int i = 0; i < soundrate * 30; ++i)
    for (double hz : {220.0, 331.0})
      frames.push_back(int16_t(5000 * (std::sin(i * hz * 6.2832 / soundrate) +
                                       std::sin(i * hz * 1.5 * 6.2832 / soundrate)) +
                               int(random() % 2001) - 1000));
  const std::string raw = path + ".raw";
  FILE *file = fopen(raw.c_str(), "wb");
  const bool written = file && fwrite(frames.data(), 2, frames.size(), file) == frames.size();
  if (file)
    fclose(file);
  const std::string encode = "oggenc -Q -r -B 16 -C 2 -R 44100 -o " + path + " " + raw;
  const bool encoded = written && system(encode.c_str()) == 0;
  unlink(raw.c_str());
  return encoded;
}

void mixmusic(benchmark::State &state)
{
  char folder[] = "/tmp/mixer-bench-XXXXXX";
  const std::string path = std::string(mkdtemp(folder)) + "/music.ogg";
  if (!writemusic(path)) {
    state.SkipWithError("the Vorbis tools' encoder (oggenc) made no file");
    return;
  }
  startchannels();
  const size_t before = mallinfo2().uordblks;
  playmusic(path.c_str(), 1);
  const size_t heap = mallinfo2().uordblks - before;
  std::vector<int16_t> block(soundblockframes * 2);
  double seconds = 0;
  for (auto _ : state) {
    const double start = processseconds();
    for (int done = 0; done < soundrate; done += soundblockframes) {
      // the decoder keeps ahead of a device that plays in real time; this one waits for it
      while (musicbuffer.written - musicbuffer.read < uint32_t(soundblockframes) &&
             !musicbuffer.complete)
        usleep(100);
      mixsound(block.data(), soundblockframes);
    }
    const double used = processseconds() - start;
    seconds += used;
    state.SetIterationTime(used);
  }
  state.counters["core_percent"] = 100 * seconds / double(std::max<int64_t>(1, state.iterations()));
  state.counters["music_heap_kb"] = double(heap) / 1024;
  state.counters["ring_kb"] = double(sizeof musicbuffer) / 1024;
  shutdownsound();
  unlink(path.c_str());
  rmdir(folder);
}

BENCHMARK(mixmusic)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
