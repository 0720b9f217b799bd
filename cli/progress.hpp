// The one progress line of orvane-cli, redrawn in place on standard error
// while it is a terminal: done of the total with a bar, rate and time left,
// or only the count and rate when the total is not known.
#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace orvane::cli {

class Progress {
 public:
  // `unit` names what is counted ("rows", "points").
  Progress(std::ostream& err, bool enabled, std::string unit);
  ~Progress() { finish(); }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // `fraction` of the work done when `total` is 0 but the share is known
  // (bytes of the input read); negative when not known.
  void update(uint64_t done, uint64_t total, double fraction = -1);
  // Clears the line before the results are printed.
  void finish();

 private:
  std::ostream& err_;
  bool enabled_;
  std::string unit_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now(), last_ = start_;
};

}  // namespace orvane::cli
