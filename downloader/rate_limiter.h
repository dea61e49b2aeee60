#pragma once
// Holds the connections of one task together below a rate in bytes per
// second. Each connection asks before it passes bytes on; the limiter makes
// it wait until the bytes fit in the rate.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class RateLimiter {
 public:
  explicit RateLimiter(std::int64_t bytesPerSecond) : rate_(bytesPerSecond) {}
  // Waits until `bytes` may pass, or until Release(); true when they may.
  bool Take(std::int64_t bytes);
  // Ends every wait at once, and every later one; for a task that stops.
  void Release();

 private:
  using Clock = std::chrono::steady_clock;
  const std::int64_t rate_;  // 0: no limit
  std::mutex mutex_;
  std::condition_variable released_;
  bool isReleased_ = false;
  Clock::time_point nextFree_{};  // when the bytes granted so far have passed at the rate
};
