#pragma once
// The program's one index of the game's package.lst: the folder table, read
// when the game directory is chosen, and the official files of the folder
// that a scan reads.
#include <cstdint>
#include <string>
#include <vector>

class Window;
struct ScanRun;

class PackageIndex {
 public:
  std::vector<std::string> FolderNames;
  std::vector<std::int32_t> FolderOffsets;
  std::vector<std::string> FileNames;
  std::vector<std::int32_t> FileSizes;
  std::vector<std::string> FileDigests;

  void Release();
  PackageIndex Copy() const { return *this; }
  // Rebuilds the folder table from `directory`'s package.lst; tells the user
  // and returns false when the list is missing or is not a package list.
  bool Load(const std::string& directory, Window& window);
  // Scans ImagePacks2 (kind 1) or SoundPacks (kind 2), with the scan buttons
  // off meanwhile.
  void ScanKind(int kind, ScanRun& run);
  // Scans `folder` of the run's game directory against its official files,
  // read at the folder's place in FolderNames; false when it is not there.
  bool ScanFolder(const std::string& folder, ScanRun& run);
};
