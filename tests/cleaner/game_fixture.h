#pragma once
// Builds game folders for the tests: a package.lst written from a list of
// folders and files, and the files themselves on disk.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/test_folder.h"

using Bytes = std::vector<std::uint8_t>;

struct ListedFile {
  std::string name;
  std::int32_t size;
  Bytes digest;
};

struct ListedFolder {
  std::string name;
  std::vector<ListedFile> files;
};

void AppendInt32(Bytes& bytes, std::int32_t value);
void AppendText(Bytes& bytes, const std::string& text);
// The 40-byte start of a package list: 32 unread bytes, the mark, 4 more.
Bytes PackageListHeader();
Bytes PackageList(const std::vector<ListedFolder>& folders);

Bytes Content(std::size_t size, int seed);
Bytes Sha256(const Bytes& bytes);

// A game directory in a fresh temporary folder.
class GameFixture {
 public:
  GameFixture();
  std::string Directory() const { return root.File("game"); }
  std::string FolderPath(const std::string& folder) const;
  // Writes a file into a game folder and returns its official record.
  ListedFile AddFile(const std::string& folder, const std::string& name, const Bytes& content);
  void WriteList(const std::vector<ListedFolder>& folders);
  bool Has(const std::string& folder, const std::string& name) const;

  TestFolder root;
};
