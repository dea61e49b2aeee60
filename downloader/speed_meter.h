#pragma once
// The rate at which bytes arrive, over the last second.
#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>

class SpeedMeter {
 public:
  void Add(std::int64_t bytes);
  std::int64_t BytesPerSecond();

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr int kSlots = 10;  // tenths of the last second
  static constexpr std::chrono::milliseconds kSlotLength{100};

  // Empties the slots that have fallen out of the last second.
  void Advance(Clock::time_point now);

  std::mutex mutex_;
  std::array<std::int64_t, kSlots> slots_{};
  std::int64_t currentSlot_ = -1;  // the tenth-of-a-second count since the start, of the newest slot
  const Clock::time_point start_ = Clock::now();
};
