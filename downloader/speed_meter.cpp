#include "downloader/speed_meter.h"

#include <numeric>

void SpeedMeter::Advance(Clock::time_point now) {
  const std::int64_t slot = (now - start_) / kSlotLength;
  if (currentSlot_ < 0) currentSlot_ = slot;
  for (std::int64_t cleared = 0; currentSlot_ < slot && cleared < kSlots; ++cleared)
    slots_[++currentSlot_ % kSlots] = 0;
  currentSlot_ = slot;
}

void SpeedMeter::Add(std::int64_t bytes) {
  std::lock_guard lock(mutex_);
  Advance(Clock::now());
  slots_[currentSlot_ % kSlots] += bytes;
}

std::int64_t SpeedMeter::BytesPerSecond() {
  std::lock_guard lock(mutex_);
  Advance(Clock::now());
  // The newest slot is still filling: the nine full ones before it speak for
  // the second, scaled up to a whole second.
  const std::int64_t total = std::accumulate(slots_.begin(), slots_.end(), std::int64_t{0});
  const std::int64_t filling = slots_[currentSlot_ % kSlots];
  return (total - filling) * kSlots / (kSlots - 1);
}
