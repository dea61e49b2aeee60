#pragma once
#include <windows.h>

// While one lives, an interruption that the program defers (see
// platform/interruption.h) ends the child `process`, so that the wait for it
// ends and the work can stop. The handle must stay open meanwhile.
class StoppedOnInterruption {
 public:
  explicit StoppedOnInterruption(HANDLE process);
  ~StoppedOnInterruption();
  StoppedOnInterruption(const StoppedOnInterruption&) = delete;
  StoppedOnInterruption& operator=(const StoppedOnInterruption&) = delete;
};
