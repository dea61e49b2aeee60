#pragma once
#include <string>
#include <vector>

#include "cleaner/patch_scan.h"

class Window;

// What one scan works with, fixed when it starts: choosing another game
// directory meanwhile does not disturb it.
struct ScanRun {
  Window& window;
  std::string gameDirectory;
  std::vector<std::string> skipNames;
  ScanOptions options;
};
