#pragma once
#include <sys/types.h>

// While one lives, an interruption that the program defers (see
// platform/interruption.h) kills the child `pid`, so that the wait for it
// ends and the work can stop.
class StoppedOnInterruption {
 public:
  explicit StoppedOnInterruption(pid_t pid);
  ~StoppedOnInterruption();
  StoppedOnInterruption(const StoppedOnInterruption&) = delete;
  StoppedOnInterruption& operator=(const StoppedOnInterruption&) = delete;
};
