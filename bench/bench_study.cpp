// Design-study speed: a sweep of 1,000 points (with its crossings) and a
// lightest-design search over 1,000,000 candidates, on one and two threads.
#include <benchmark/benchmark.h>

#include "project/session.hpp"
#include "project/study.hpp"

namespace {

// The new-project defaults as every front end opens them.
orvane::OpenedProject defaults() {
  return orvane::Session::openHeadless({.dataDir = ORVANE_DATA_DIR}).value();
}

orvane::StudyRange grid(const char* text) { return orvane::parseRange(text).value(); }

// 1,000 values of the shell thickness on the defaults (stringer stiffened,
// ring frames checked): every check crosses its allowable somewhere.
void BM_Sweep1000(benchmark::State& state) {
  const orvane::OpenedProject base = defaults();
  const std::vector<orvane::StudyRange> ranges = {grid("t=5:54.95:0.05")};
  size_t crossings = 0;
  for (auto _ : state) {
    auto r = orvane::sweep(base, ranges, {}, static_cast<int>(state.range(0)));
    crossings = r.value().crossings.size();
    benchmark::DoNotOptimize(r);
  }
  state.counters["points"] = static_cast<double>(ranges[0].count());
  state.counters["crossings"] = static_cast<double>(crossings);
}
BENCHMARK(BM_Sweep1000)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("jobs")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// 1,012,000 candidates on the defaults: 500 shell thicknesses x 11
// stiffener spacings x every row of the four tables for the ring frame.
// Arg stop 1: the ten lightest passing designs (the search stops early);
// stop 0: every candidate runs (a pressure no design carries).
void BM_Optimise1M(benchmark::State& state) {
  const orvane::OpenedProject base = defaults();
  orvane::OptimiseSpec search;
  search.grids = {grid("t=10:34.95:0.05"), grid("s=400:500:10")};
  search.profiles = {orvane::parseProfileFreedom("ring=all").value()};
  search.top = 10;
  if (state.range(1) == 0) search.fixed = {"pd=-50"};
  uint64_t evaluated = 0, candidates = 0;
  for (auto _ : state) {
    auto r = orvane::optimise(base, search, static_cast<int>(state.range(0)));
    evaluated = r.value().evaluated;
    candidates = r.value().candidates;
    benchmark::DoNotOptimize(r);
  }
  state.counters["candidates"] = static_cast<double>(candidates);
  state.counters["run"] = static_cast<double>(evaluated);
}
BENCHMARK(BM_Optimise1M)
    ->Args({2, 1})
    ->Args({2, 0})
    ->Args({1, 0})
    ->ArgNames({"jobs", "stop"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace
