#pragma once
// Pellory's program-wide state: every item exists once for the whole run,
// is created before the window opens and is released when the program ends.
// The handlers that write an item say what it holds.
#include <memory>
#include <string>

#include "cleaner/cleaner_state.h"
#include "downloader/download_engine.h"
#include "downloader/downloader_state.h"

struct ProgramState {
  std::string RunDirectory;
  // The second page's part: RegionNames, RegionBaseUrl, the archive names
  // of the chosen region, and the download's state with the engine.
  DownloaderState Downloader;
  // The patch cleaner's part: BackupDirectory, GameDirectory, SkipNames and
  // the PackageIndex.
  CleanerState Cleaner;
};

// The state as the program starts with it.
std::unique_ptr<ProgramState> CreateProgramState(std::string runDirectory,
                                                 std::unique_ptr<::DownloadEngine> engine);

// Releases every item in the order the program ends in; a download that
// still runs is stopped on the way.
void ReleaseProgramState(ProgramState& state);
