#pragma once
// The program-wide state that the patch-cleaning handlers share.
#include <string>
#include <vector>

#include "cleaner/package_index.h"

struct CleanerState {
  std::string RunDirectory;                // the folder of the program, for Skip_Npk.ini
  std::string GameDirectory;               // as the folder dialog returned it
  std::string BackupDirectory;             // as the folder dialog returned it
  std::string ScannedDirectory;            // the game directory the last scan examined
  std::vector<std::string> SkipNames;      // the skip list's names for the running scan
  ::PackageIndex PackageIndex;
};
