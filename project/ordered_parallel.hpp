// Work on a stream of chunks on several threads, handed back in order.
//
// The calling thread makes the chunks (reads input) and takes them back
// (writes output) in the order made; `jobs` threads process them in
// between. At most 2 x jobs chunks exist at once, so memory stays flat
// however long the stream is.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace orvane {

// The number of threads `jobs` asks for: itself when positive, otherwise
// one per core.
inline int threadCount(int jobs) {
  if (jobs > 0) return jobs;
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// `produce(chunk)` fills a chunk and returns false at the end of the stream;
// `work(chunk)` runs on a worker thread; `consume(chunk)` sees each chunk in
// the order produced. An exception thrown by `work` ends the stream and is
// rethrown here once the workers have stopped.
template <typename Chunk, typename Produce, typename Work, typename Consume>
void runOrdered(int jobs, Produce&& produce, Work&& work, Consume&& consume) {
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

  {
    std::vector<std::jthread> workers;
    // However this block is left (the end of the stream, a thread that
    // cannot start, an exception from produce or consume), the workers are
    // told to stop before they are joined, so that nothing waits for ever.
    struct StopWorkers {
      std::mutex& m;
      std::condition_variable& wake;
      bool& stop;
      std::deque<size_t>& queue;
      ~StopWorkers() {
        {
          std::lock_guard lock(m);
          stop = true;
          queue.clear();
        }
        wake.notify_all();
      }
    } stopWorkers{m, wake, stop, queue};
    workers.reserve(threads);
    for (size_t i = 0; i < threads; ++i) {
      workers.emplace_back([&] {
        for (;;) {
          size_t slot = 0;
          {
            std::unique_lock lock(m);
            wake.wait(lock, [&] { return stop || !queue.empty(); });
            if (queue.empty()) return;
            slot = queue.front();
            queue.pop_front();
            state[slot] = Slot::Working;
          }
          std::exception_ptr thrown;
          try {
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
      });
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
        done.wait(lock, [&] { return state[slot] == Slot::Done; });
        if (failure) break;
      }
      consume(chunks[slot]);
      {
        std::lock_guard lock(m);
        state[slot] = Slot::Free;
      }
      ++consumed;
    }
  }  // the workers join here
  if (failure) std::rethrow_exception(failure);
}

}  // namespace orvane
