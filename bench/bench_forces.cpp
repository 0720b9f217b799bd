// Rows of section forces, each scanned round the circumference: the
// stringer-stiffened defaults with ring checks, rows of texts in and CSV
// rows out as batch writes them, on one and two threads.
#include <benchmark/benchmark.h>

#include <atomic>
#include <random>

#include "model/format.hpp"
#include "project/batch_rows.hpp"
#include "project/member_forces.hpp"
#include "project/row_runner.hpp"
#include "project/session.hpp"

namespace {

void BM_ForceRows(benchmark::State& state) {
  const orvane::OpenedProject base =
      orvane::Session::openHeadless({.dataDir = ORVANE_DATA_DIR}).value();
  const std::vector<std::string> columns = {"pd", "N", "M1", "M2", "T", "Q1", "Q2"};
  const orvane::ForceEngine engine = orvane::ForceEngine::create(base, columns).value();
  const orvane::BatchColumns out{columns, engine.checks(), true};
  // forces within what a member of the defaults carries, some beyond
  constexpr uint64_t kRows = 4096;
  std::mt19937 rng(24);
  std::uniform_real_distribution<double> n(-30000, 5000), m(-40000, 40000), t(-30000, 30000),
      q(-5000, 5000), p(-0.4, 0);
  std::vector<std::string> texts;
  for (uint64_t r = 0; r < kRows; ++r)
    for (double v : {p(rng), n(rng), m(rng), m(rng), t(rng), q(rng), q(rng)})
      texts.push_back(orvane::shortestText(v));
  std::vector<std::string_view> cells(texts.begin(), texts.end());
  const size_t width = columns.size();
  // blocks of rows as batch hands them to its threads
  constexpr uint64_t kBlockRows = 256;
  const int jobs = static_cast<int>(state.range(0));
  std::atomic<uint64_t> evaluations{0};
  size_t bytes = 0;
  for (auto _ : state) {
    evaluations = 0;
    bytes = 0;
    orvane::runRows<std::string>(
        jobs, kRows, kBlockRows, [] { return true; },
        [&](uint64_t first, uint64_t count, std::string& text, orvane::RowScratch& scratch) {
          text.clear();
          uint64_t evaluated = 0;
          for (uint64_t r = first; r < first + count; ++r) {
            const auto row = std::span<const std::string_view>(cells).subspan(r * width, width);
            const orvane::ForceOutcome o = engine.run(row, scratch);
            evaluated += static_cast<uint64_t>(o.evaluations);
            const orvane::BatchRow b{
                static_cast<int64_t>(r + 1), 0, {}, row, &o.outcome, &o.points};
            orvane::appendCsvRow(text, out, b);
          }
          evaluations += evaluated;
        },
        [&](uint64_t, uint64_t, std::string& text) { bytes += text.size(); });
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["rows/s"] =
      benchmark::Counter(static_cast<double>(kRows), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["runs/row"] = static_cast<double>(evaluations.load()) / kRows;
}
BENCHMARK(BM_ForceRows)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("jobs")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
