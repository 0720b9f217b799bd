#include "ui/cases/case_worker.hpp"

namespace orvane::cases {

CaseWorker::CaseWorker(Finished finished)
    : finished_(std::move(finished)), thread_([this](const std::stop_token& s) { loop(s); }) {}

CaseWorker::~CaseWorker() {
  thread_.request_stop();
  wake_.notify_all();
}

void CaseWorker::post(uint64_t generation, std::shared_ptr<const RowEngine> engine,
                      std::shared_ptr<const CaseTable> table) {
  {
    std::lock_guard lock(m_);
    waiting_ = Job{generation, std::move(engine), std::move(table)};
    latest_ = generation;
  }
  wake_.notify_all();
}

void CaseWorker::cancel() {
  std::lock_guard lock(m_);
  waiting_.reset();
  ++latest_;
}

void CaseWorker::loop(const std::stop_token& stop) {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(m_);
      if (!wake_.wait(lock, stop, [this] { return waiting_.has_value(); })) return;
      job = std::move(*waiting_);
      waiting_.reset();
    }
    auto superseded = [&] { return stop.stop_requested() || latest_ != job.generation; };
    std::vector<RowOutcome> outcomes = runCases(*job.engine, *job.table, superseded);
    if (!superseded() && outcomes.size() == job.table->rows.size())
      finished_(job.generation, std::move(outcomes));
  }
}

}  // namespace orvane::cases
