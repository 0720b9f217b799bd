// The runner never hangs: a worker that cannot start and an output side
// that throws both end the run with the exception, every started worker
// joined (a hang here is a test timeout).
#include <gtest/gtest.h>

#include <stdexcept>
#include <system_error>

#include "project/ordered_parallel.hpp"

namespace {

using orvane::runOrdered;

struct Chunk {
  int n = 0;
};

// An endless stream; `consume` may throw, as a full disk does.
template <typename Consume>
void endless(int jobs, Consume&& consume) {
  int next = 0;
  runOrdered<Chunk>(
      jobs,
      [&](Chunk& c) {
        c.n = next++;
        return true;
      },
      [](Chunk& c) { c.n *= 2; }, consume);
}

TEST(OrderedParallel, AThreadThatCannotStartEndsTheRun) {
  for (const size_t failing : {0u, 1u, 2u}) {
    static size_t failAt;
    failAt = failing;
    orvane::threadStartHook = [](size_t i) {
      if (i == failAt)
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    EXPECT_THROW(endless(3, [](Chunk&) {}), std::system_error) << failing;
    orvane::threadStartHook = nullptr;
  }
}

TEST(OrderedParallel, AFailureOnTheOutputSideEndsTheRun) {
  for (const int jobs : {1, 2, 4}) {
    int seen = 0;
    EXPECT_THROW(endless(jobs,
                         [&](Chunk& c) {
                           EXPECT_EQ(c.n, 2 * seen++);
                           if (seen == 50) throw std::runtime_error("disk full");
                         }),
                 std::runtime_error);
    EXPECT_EQ(seen, 50);
  }
}

}  // namespace
