// Many rows of one engine in chunks: the one place that decides how rows
// are cut into chunks, which threads run them and which scratch state each
// thread reuses. Load cases, sweeps and the optimiser run their rows here;
// a batch reads its chunks from a file and runs them through runOrdered
// with the same per-thread scratch.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <vector>

#include "project/ordered_parallel.hpp"
#include "project/row_engine.hpp"

namespace orvane {

// Rows per chunk for `total` rows on the threads `jobs` asks for, about
// `perThread` chunks each, so that an uneven row costs little waiting.
inline uint64_t rowChunk(uint64_t total, int jobs, uint64_t perThread) {
  const auto threads = static_cast<uint64_t>(threadCount(jobs));
  return std::clamp<uint64_t>(total / (threads * perThread), 16, 2048);
}

// Rows [0, total) in chunks of `chunkRows`, handed back in order.
// `more()` is asked before each chunk; once it says no the rows not yet
// started are left out. `work(first, count, out, scratch)` runs a chunk
// into its `Out` with the thread's own scratch; `consume(first, count,
// out)` sees the chunks in row order on the calling thread. Fewer than two
// chunks, or one thread, run on the calling thread alone. An exception
// ends the run and reaches the caller (see runOrdered).
template <typename Out, typename More, typename Work, typename Consume>
void runRows(int jobs, uint64_t total, uint64_t chunkRows, More&& more, Work&& work,
             Consume&& consume) {
  chunkRows = std::max<uint64_t>(chunkRows, 1);
  if (total < 2 * chunkRows || threadCount(jobs) == 1) {
    RowScratch scratch;
    Out out{};
    for (uint64_t first = 0; first < total && more(); first += chunkRows) {
      const uint64_t count = std::min(chunkRows, total - first);
      work(first, count, out, scratch);
      consume(first, count, out);
    }
    return;
  }
  struct Chunk {
    uint64_t first = 0, count = 0;
    Out out{};
  };
  uint64_t next = 0;
  runOrdered<Chunk, RowScratch>(
      jobs,
      [&](Chunk& c) {
        if (next >= total || !more()) return false;
        c.first = next;
        c.count = std::min(chunkRows, total - next);
        next += c.count;
        return true;
      },
      [&](Chunk& c, RowScratch& scratch) { work(c.first, c.count, c.out, scratch); },
      [&](Chunk& c) { consume(c.first, c.count, c.out); });
}

// Each of `rows` through `runOne(row, scratch)`, the outcomes in row order;
// chunks of `chunkRows` on all cores when there are many. Once `cancelled`
// says yes, the rows not yet started are left out.
template <typename Outcome, typename Rows, typename RunOne>
std::vector<Outcome> runEachRow(const Rows& rows, uint64_t chunkRows,
                                const std::function<bool()>& cancelled, RunOne&& runOne) {
  std::vector<Outcome> out;
  out.reserve(rows.size());
  runRows<std::vector<Outcome>>(
      0, rows.size(), chunkRows, [&] { return !cancelled || !cancelled(); },
      [&](uint64_t first, uint64_t count, std::vector<Outcome>& outcomes, RowScratch& scratch) {
        outcomes.clear();
        for (uint64_t i = first; i < first + count; ++i)
          outcomes.push_back(runOne(rows[i], scratch));
      },
      [&](uint64_t, uint64_t, std::vector<Outcome>& outcomes) {
        std::move(outcomes.begin(), outcomes.end(), std::back_inserter(out));
      });
  return out;
}

}  // namespace orvane
