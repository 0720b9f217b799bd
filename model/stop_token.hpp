// Asking a long run to stop: std::stop_source and std::stop_token where the
// C++ library has them, otherwise a flag shared by a source and its tokens
// (the browser module's library has none, and runs no second thread).
#pragma once

#if __has_include(<stop_token>)
#include <stop_token>

namespace orvane {
using StopSource = std::stop_source;
using StopToken = std::stop_token;
}  // namespace orvane

#else
#include <atomic>
#include <memory>
#include <utility>

namespace orvane {

using StopFlag = std::atomic<bool>;

class StopToken {
 public:
  StopToken() = default;
  bool stop_requested() const noexcept { return flag_ && flag_->load(); }

 private:
  friend class StopSource;
  explicit StopToken(std::shared_ptr<StopFlag> flag) : flag_(std::move(flag)) {}
  std::shared_ptr<StopFlag> flag_;
};

class StopSource {
 public:
  bool request_stop() noexcept { return !flag_->exchange(true); }
  bool stop_requested() const noexcept { return flag_->load(); }
  StopToken get_token() const noexcept { return StopToken(flag_); }

 private:
  std::shared_ptr<StopFlag> flag_ = std::make_shared<StopFlag>(false);
};

}  // namespace orvane
#endif
