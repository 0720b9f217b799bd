// Work on a stream of chunks on several threads, handed back in order.
//
// The calling thread makes the chunks (reads input) and takes them back
// (writes output) in the order made; `jobs` threads process them in
// between. At most 2 x jobs chunks exist at once, so memory stays flat
// however long the stream is. A build without threads (the browser module)
// runs each chunk's work on the calling thread, in order: same results.
#pragma once

#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
#define ORVANE_NO_THREADS 1
#endif

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <vector>

namespace orvane {

// The number of threads `jobs` asks for: itself when positive, otherwise
// one per core.
inline int threadCount(int jobs) {
#ifdef ORVANE_NO_THREADS
  (void)jobs;
  return 1;
#else
  if (jobs > 0) return jobs;
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
#endif
}

// Called with the index of each worker thread just before it is started;
// a test sets it to make a start fail as a system out of threads does.
inline void (*threadStartHook)(size_t index) = nullptr;

// What a worker keeps between its chunks when the work asks for nothing.
struct NoScratch {};

// `produce(chunk)` fills a chunk and returns false at the end of the stream;
// `work(chunk)` or `work(chunk, scratch)` runs on a worker thread, where
// `scratch` is that thread's own `Scratch`, made on it and kept for all the
// chunks it works on; `consume(chunk)` sees each chunk in the order
// produced.
//
// The run never hangs: a worker thread that cannot start, or an exception
// thrown by `produce`, `work` or `consume`, ends the stream; every worker
// that started is woken and joined, and the first exception is rethrown
// here.
template <typename Chunk, typename Scratch = NoScratch, typename Produce, typename Work,
          typename Consume>
void runOrdered(int jobs, Produce&& produce, Work&& work, Consume&& consume) {
#ifdef ORVANE_NO_THREADS
  (void)jobs;
  Chunk chunk;
  Scratch scratch;
  while (produce(chunk)) {
    if constexpr (std::is_invocable_v<Work&, Chunk&, Scratch&>)
      work(chunk, scratch);
    else
      work(chunk);
    consume(chunk);
  }
#else
  const size_t threads = static_cast<size_t>(threadCount(jobs));
  const size_t window = 2 * threads;
  enum class Slot { Free, Queued, Working, Done };
  std::vector<Chunk> chunks(window);
  std::vector<Slot> state(window, Slot::Free);
  std::deque<size_t> queue;  // slots waiting for a worker, oldest first
  std::mutex m;
  std::condition_variable wake, done;
  bool stop = false;
  std::exception_ptr failure;
  const auto fail = [&](std::exception_ptr e) {
    std::lock_guard lock(m);
    if (!failure) failure = std::move(e);
  };

  const auto worker = [&] {
    std::optional<Scratch> scratch;
    try {
      scratch.emplace();
    } catch (...) {
      fail(std::current_exception());
      done.notify_all();
      return;
    }
    for (;;) {
      size_t slot = 0;
      {
        std::unique_lock lock(m);
        wake.wait(lock, [&] { return stop || !queue.empty(); });
        if (stop || queue.empty()) return;
        slot = queue.front();
        queue.pop_front();
        state[slot] = Slot::Working;
      }
      std::exception_ptr thrown;
      try {
        if constexpr (std::is_invocable_v<Work&, Chunk&, Scratch&>)
          work(chunks[slot], *scratch);
        else
          work(chunks[slot]);
      } catch (...) {
        thrown = std::current_exception();
      }
      {
        std::lock_guard lock(m);
        if (thrown && !failure) failure = thrown;
        state[slot] = Slot::Done;
      }
      done.notify_all();
    }
  };

  std::vector<std::thread> workers;
  // Runs on every way out: no worker is left waiting for a chunk.
  struct Joiner {
    std::vector<std::thread>& workers;
    std::mutex& m;
    std::condition_variable& wake;
    bool& stop;
    std::deque<size_t>& queue;
    ~Joiner() {
      {
        std::lock_guard lock(m);
        stop = true;
        queue.clear();
      }
      wake.notify_all();
      for (std::thread& t : workers)
        if (t.joinable()) t.join();
    }
  };

  {
    const Joiner joiner{workers, m, wake, stop, queue};
    try {
      workers.reserve(threads);
      for (size_t i = 0; i < threads; ++i) {
        if (threadStartHook) threadStartHook(i);
        workers.emplace_back(worker);
      }

      size_t produced = 0, consumed = 0;
      bool ended = false;
      for (;;) {
        while (!ended && produced - consumed < window) {
          {
            std::lock_guard lock(m);
            if (failure) break;
          }
          const size_t slot = produced % window;
          if (!produce(chunks[slot])) {
            ended = true;
            break;
          }
          {
            std::lock_guard lock(m);
            state[slot] = Slot::Queued;
            queue.push_back(slot);
          }
          ++produced;
          wake.notify_one();
        }
        if (consumed == produced) break;
        const size_t slot = consumed % window;
        {
          std::unique_lock lock(m);
          done.wait(lock, [&] { return state[slot] == Slot::Done || failure; });
          if (failure) break;
        }
        consume(chunks[slot]);
        {
          std::lock_guard lock(m);
          state[slot] = Slot::Free;
        }
        ++consumed;
      }
    } catch (...) {
      fail(std::current_exception());
    }
  }  // the workers are woken and joined here
  if (failure) std::rethrow_exception(failure);
#endif
}

}  // namespace orvane
