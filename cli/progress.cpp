#include "cli/progress.hpp"

#include <cstdio>
#include <ostream>

namespace orvane::cli {

Progress::Progress(std::ostream& err, bool enabled, std::string unit)
    : err_(err), enabled_(enabled), unit_(std::move(unit)) {}

void Progress::update(uint64_t done, uint64_t total, double fraction) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  if (elapsed < 0.5 || now - last_ < std::chrono::milliseconds(200)) return;
  last_ = now;
  if (total > 0) fraction = static_cast<double>(done) / static_cast<double>(total);
  std::string line = "\r";
  char text[96];
  if (fraction >= 0 && fraction <= 1) {
    const int filled = static_cast<int>(fraction * 30);
    line += "[" + std::string(static_cast<size_t>(filled), '#') +
            std::string(static_cast<size_t>(30 - filled), ' ') + "] ";
    std::snprintf(text, sizeof text, "%3.0f%%  ", fraction * 100);
    line += text;
  }
  std::snprintf(text, sizeof text, "%llu %s  %.0f/s", static_cast<unsigned long long>(done),
                unit_.c_str(), static_cast<double>(done) / elapsed);
  line += text;
  if (fraction > 0 && fraction <= 1) {
    const long left = static_cast<long>(elapsed / fraction - elapsed + 0.5);
    std::snprintf(text, sizeof text, "  %ld:%02ld left", left / 60, left % 60);
    line += text;
  }
  err_ << line << "\033[K" << std::flush;
  drawn_ = true;
}

void Progress::finish() {
  if (drawn_) err_ << "\r\033[K" << std::flush;
  drawn_ = false;
}

}  // namespace orvane::cli
