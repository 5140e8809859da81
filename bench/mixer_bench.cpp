// Mixer speed: 8 looping channels of different lengths, volumes and balances, mixed in blocks of
// 1024 frames as the audio callback mixes them, for one second of 44.1 kHz stereo each iteration;
// beside a memcpy of the 8 seconds of samples the channels read. "core_percent" is the share of
// one core that mixing takes while the sound plays (the goal: 1% at most).
#include "engine.h"
#include "sidebyside.h"
#include "sound/soundmix.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
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

void mixchannels(benchmark::State &state)
{
  sounddevice = {1, soundrate};  // mixed by hand, no device opened
  for (int slot = 0; slot < loopingchannels; ++slot) {
    fillslot(slot, uint32_t(5000 + 1733 * slot));  // so that the loops start over apart
    playsound(slot, -1, 0.5f + 0.05f * slot, -0.8f + 0.2f * slot, 1);
  }
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

}  // namespace

BENCHMARK_MAIN();
