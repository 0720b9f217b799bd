// Work of a window on threads of its own, so that typing never waits for
// it: the one background job of the Study and the Load cases windows. Each
// start() is a new generation: the jobs before it are asked to stop and
// whatever they still deliver is dropped; only the newest job's result
// reaches the window, on the window's thread.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

namespace orvane::ui {

// A member of the receiver, so that it goes before the receiver does.
class Background final {
 public:
  explicit Background(QObject* receiver) : box_(std::make_shared<Box>(receiver)) {}
  // Stops the jobs and waits for them (each checks its stop token often).
  ~Background() {
    {
      const std::lock_guard lock(box_->mutex);
      box_->receiver = nullptr;
    }
    for (Job& j : jobs_) j.thread.request_stop();
  }
  Background(const Background&) = delete;
  Background& operator=(const Background&) = delete;

  // The generation of the newest job; a result of another is stale.
  uint64_t generation() const { return generation_; }
  // Whether the newest job has not delivered yet.
  bool busy() const { return delivered_ != generation_; }

  // Asks the jobs to stop; nothing they still deliver reaches the window.
  void cancel() {
    for (Job& j : jobs_) j.thread.request_stop();
    delivered_ = ++generation_;
  }

  // Runs `work(stop)` on a new thread; `done(result)` runs on the receiver's
  // thread if no newer job was started meanwhile. `progress(done, total)`
  // may be called from the job; it reaches `onProgress` the same way.
  template <typename R>
  void start(std::function<R(std::stop_token, const std::function<void(uint64_t, uint64_t)>&)> work,
             std::function<void(R&)> done,
             std::function<void(uint64_t, uint64_t)> onProgress = {}) {
    reap();
    for (Job& j : jobs_) j.thread.request_stop();
    const uint64_t gen = ++generation_;
    auto finished = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<Box> box = box_;
    const uint64_t* current = &generation_;
    uint64_t* delivered = &delivered_;
    // posts `f` to the receiver's thread, where it runs only while the
    // window lives and this job is the newest
    auto post = [box, gen, current](auto f) {
      const std::lock_guard lock(box->mutex);
      if (!box->receiver) return;
      QMetaObject::invokeMethod(
          box->receiver,
          [f = std::move(f), gen, current]() mutable {
            if (*current == gen) f();
          },
          Qt::QueuedConnection);
    };
    auto report = [post, onProgress](uint64_t d, uint64_t t) {
      if (onProgress) post([onProgress, d, t] { onProgress(d, t); });
    };
    jobs_.push_back(Job{std::jthread([work = std::move(work), done = std::move(done), post, report,
                                      finished, delivered, gen](std::stop_token stop) mutable {
                          auto result = std::make_shared<R>(work(stop, report));
                          post([done, result, delivered, gen] {
                            *delivered = gen;
                            done(*result);
                          });
                          finished->store(true);
                        }),
                        finished});
  }

 private:
  struct Box {
    explicit Box(QObject* r) : receiver(r) {}
    std::mutex mutex;
    QObject* receiver;
  };
  struct Job {
    std::jthread thread;
    std::shared_ptr<std::atomic<bool>> finished;
  };
  // Joins the jobs that have ended (no wait).
  void reap() {
    jobs_.remove_if([](const Job& j) { return j.finished->load(); });
  }

  std::shared_ptr<Box> box_;
  std::list<Job> jobs_;
  uint64_t generation_ = 0;
  uint64_t delivered_ = 0;
};

}  // namespace orvane::ui
