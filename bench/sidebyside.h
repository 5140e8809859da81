// Side-by-side timing: the code judged and the baselines it is judged against run in the same
// iterations, one after the other, so that load from other work on a shared machine falls on
// both alike; each is timed by the thread's CPU clock, which other processes do not advance. The
// time reported is the judged code's; each baseline's time in microseconds, the judged time over
// the baselines' sum ("ratio") and, where there are several, over each one ("NAME_ratio") are
// counters. Register with sidebysidestatistics for the least and most of repetitions.
#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

// one timed piece of work; false when it failed, which ends the benchmark with an error
struct timedpart {
  std::string name;
  std::function<bool()> run;
  std::function<void()> after = [] {};  // untimed clean-up, such as removing a file it wrote
};

// the CPU time this thread has used
inline double threadseconds()
{
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// manual time, and the least and most of the repetitions beside their mean and median
inline void sidebysidestatistics(benchmark::internal::Benchmark *b)
{
  b->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->ComputeStatistics("min", [](const std::vector<double> &v) {
        return *std::min_element(v.begin(), v.end());
      })
      ->ComputeStatistics("max", [](const std::vector<double> &v) {
        return *std::max_element(v.begin(), v.end());
      });
}

// register with UseManualTime()
inline void sidebyside(benchmark::State &state, const timedpart &judged,
                       const std::vector<timedpart> &baselines)
{
  std::vector<double> seconds(baselines.size() + 1, 0.0);  // the judged part last
  auto timed = [&](const timedpart &part, size_t slot) {
    const double start = threadseconds();
    const bool done = part.run();
    const double took = threadseconds() - start;
    part.after();
    seconds[slot] += took;
    if (!done)
      state.SkipWithError((part.name + " failed").c_str());
    return done ? took : -1.0;
  };
  for (auto _ : state) {
    bool done = true;
    for (size_t i = 0; i < baselines.size() && done; ++i)
      done = timed(baselines[i], i) >= 0;
    const double took = done ? timed(judged, baselines.size()) : -1.0;
    if (took < 0)
      break;
    state.SetIterationTime(took);
  }
  double baseline = 0;
  for (size_t i = 0; i < baselines.size(); ++i) {
    state.counters[baselines[i].name + "_us"] =
        benchmark::Counter(seconds[i] * 1e6, benchmark::Counter::kAvgIterations);
    baseline += seconds[i];
    if (baselines.size() > 1 && seconds[i] > 0)
      state.counters[baselines[i].name + "_ratio"] = seconds.back() / seconds[i];
  }
  state.counters["ratio"] = baseline > 0 ? seconds.back() / baseline : 0;
}
