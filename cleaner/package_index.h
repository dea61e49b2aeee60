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
  void ScanKind(int kind, ScanRun& run);
  bool ScanFolder(const std::string& folder, ScanRun& run);
  // Appends the official files of the folder at `position` of FolderNames.
  void ReadFolderFiles(std::size_t position, const std::string& gameDirectory);
};
