// The thread that runs a long table of load cases away from the window.
//
// The window posts a job (an engine and a copy of the table) with a
// generation number; a newer post makes the running job stop between chunks
// of rows and the newer one start. Only a job that ran to the end reports,
// on the worker thread: the receiver hands the outcomes to its own thread
// and drops those of a generation it has moved past.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "project/row_engine.hpp"
#include "ui/cases/case_table.hpp"

namespace orvane::cases {

class CaseWorker final {
 public:
  using Finished = std::function<void(uint64_t generation, std::vector<RowOutcome> outcomes)>;

  explicit CaseWorker(Finished finished);
  // Stops the running job between two chunks and waits for the thread.
  ~CaseWorker();
  CaseWorker(const CaseWorker&) = delete;
  CaseWorker& operator=(const CaseWorker&) = delete;

  void post(uint64_t generation, std::shared_ptr<const RowEngine> engine,
            std::shared_ptr<const CaseTable> table);
  // Stops the running job and forgets a waiting one.
  void cancel();

 private:
  struct Job {
    uint64_t generation = 0;
    std::shared_ptr<const RowEngine> engine;
    std::shared_ptr<const CaseTable> table;
  };
  void loop(const std::stop_token& stop);

  Finished finished_;
  std::mutex m_;
  std::condition_variable_any wake_;
  std::optional<Job> waiting_;
  std::atomic<uint64_t> latest_{0};
  std::jthread thread_;  // last: starts once the rest is set up
};

}  // namespace orvane::cases
