#include "downloader/rate_limiter.h"

#include <algorithm>

namespace {
// Bytes may run ahead of the rate by this much, so that a connection is not
// woken for every block.
constexpr std::chrono::milliseconds kSlack{50};
}  // namespace

bool RateLimiter::Take(std::int64_t bytes) {
  std::unique_lock lock(mutex_);
  if (rate_ <= 0) return !isReleased_;
  const Clock::time_point now = Clock::now();
  nextFree_ = std::max(nextFree_, now - kSlack) +
              std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(double(bytes) / double(rate_)));
  const Clock::time_point until = nextFree_ - kSlack;
  released_.wait_until(lock, until, [&] { return isReleased_; });
  return !isReleased_;
}

void RateLimiter::Release() {
  {
    std::lock_guard lock(mutex_);
    isReleased_ = true;
  }
  released_.notify_all();
}
