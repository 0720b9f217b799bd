// CalcDriver speed: a whole run on the defaults for each cylinder type, with
// and without the table texts.
#include <benchmark/benchmark.h>

#include "core/calc_driver.hpp"
#include "core/calc_trace.hpp"
#include "project/row_engine.hpp"
#include "project/session.hpp"

namespace {

// The new-project defaults with `cyltype` chosen and then `sets`, as every
// front end opens them. A column on the defaults' radius stops on a negative
// root once l = L, so the column runs on a larger one.
orvane::OpenedProject opened(int cyltype, std::vector<std::string> sets = {}) {
  if (cyltype == 3) sets.insert(sets.begin(), "r=2000");
  sets.insert(sets.begin(), "cyltype=" + std::to_string(cyltype));
  return orvane::Session::openHeadless({.dataDir = ORVANE_DATA_DIR, .sets = sets}).value();
}

orvane::ProjectState startState(int cyltype, std::vector<std::string> sets = {}) {
  return opened(cyltype, std::move(sets)).state;
}

// With ring control, heavy ring control and the special calculation of Ih.
const std::vector<std::string> kAllRingChecks = {"ring_ch=1", "hring_ch=1", "check_ih=1"};

void BM_CalcDriver(benchmark::State& state) {
  orvane::ProjectState ps = startState(static_cast<int>(state.range(0)));
  orvane::RecordingEvents ev;
  for (auto _ : state) {
    orvane::calcDriver(ps, ev);
    benchmark::DoNotOptimize(ps.UF);
  }
}
BENCHMARK(BM_CalcDriver)->DenseRange(0, 3)->ArgName("cyltype");

// The same runs computing numbers only, without any table text.
void BM_CalcDriverNumbersOnly(benchmark::State& state) {
  orvane::ProjectState ps = startState(static_cast<int>(state.range(0)));
  orvane::RecordingEvents ev;
  for (auto _ : state) {
    orvane::calcDriver(ps, ev, {.texts = false});
    benchmark::DoNotOptimize(ps.UF);
  }
}
BENCHMARK(BM_CalcDriverNumbersOnly)->DenseRange(0, 3)->ArgName("cyltype");

// A stringer-stiffened cylinder with ring control, heavy ring control and the
// special calculation of Ih: the longest run the program makes.
void BM_CalcDriverAllRingChecks(benchmark::State& state) {
  orvane::ProjectState ps = startState(2, kAllRingChecks);
  const orvane::RunOptions run{.texts = state.range(0) != 0};
  orvane::RecordingEvents ev;
  for (auto _ : state) {
    orvane::calcDriver(ps, ev, run);
    benchmark::DoNotOptimize(ps.UFinertia);
  }
}
BENCHMARK(BM_CalcDriverAllRingChecks)->Arg(1)->Arg(0)->ArgName("text");

// One row of the row engine: the copy of the base state, four stored
// stresses, a run without texts and the verdicts.
void BM_RowEngineRow(benchmark::State& state) {
  const orvane::OpenedProject base = opened(static_cast<int>(state.range(0)));
  const auto engine = orvane::RowEngine::create(base, {"sigx", "sigy", "tau", "pd"}).value();
  orvane::RowScratch work;
  const std::string_view row[] = {"-120.5", "-12", "35", "-0.25"};
  for (auto _ : state) {
    auto outcome = engine.run(row, work);
    benchmark::DoNotOptimize(outcome);
  }
}
BENCHMARK(BM_RowEngineRow)->Arg(0)->Arg(2)->ArgName("cyltype");
// A whole run recording its working for the calculation sheet, as the
// session makes it (trace cleared first). Target: under 20 us per run.
void BM_CalcDriverTraced(benchmark::State& state) {
  orvane::ProjectState ps = startState(static_cast<int>(state.range(0)), kAllRingChecks);
  orvane::CalcTrace trace;
  orvane::RecordingEvents ev;
  for (auto _ : state) {
    trace.clear();
    orvane::calcDriver(ps, ev, {.trace = &trace});
    benchmark::DoNotOptimize(trace.steps().data());
  }
  state.counters["steps"] = static_cast<double>(trace.steps().size());
}
BENCHMARK(BM_CalcDriverTraced)->DenseRange(0, 3)->ArgName("cyltype");

}  // namespace

BENCHMARK_MAIN();
