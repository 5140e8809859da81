// Side-by-side timing: the code judged and the baselines it is judged against run in the same
// iterations, one after the other, so that load from other work on a shared machine falls on
// both alike. The time reported is the judged code's; each baseline's time in microseconds and
// the judged time over the baselines' sum ("ratio") are counters.
#pragma once

#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

// one timed piece of work; false when it failed, which ends the benchmark with an error
struct timedpart {
  std::string name;
  std::function<bool()> run;
  std::function<void()> after = [] {};  // untimed clean-up, such as removing a file it wrote
};

// register with UseManualTime()
inline void sidebyside(benchmark::State &state, const timedpart &judged,
                       const std::vector<timedpart> &baselines)
{
  std::vector<double> seconds(baselines.size() + 1, 0.0);  // the judged part last
  auto timed = [&](const timedpart &part, size_t slot) {
    const auto start = std::chrono::steady_clock::now();
    const bool done = part.run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    part.after();
    seconds[slot] += took.count();
    if (!done)
      state.SkipWithError((part.name + " failed").c_str());
    return done ? took.count() : -1.0;
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
  }
  state.counters["ratio"] = baseline > 0 ? seconds.back() / baseline : 0;
}
