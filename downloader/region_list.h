#pragma once
// A region's list file: the archives that a foreign region server offers,
// folder by folder. Each folder's block starts at the first place in the file
// where its marker (the folder's name and a zero byte) occurs, so the blocks
// may stand in any order with anything between them.
//
// Counts and lengths in the file are not trusted: nothing is read or
// allocated beyond the file, and entries stop where the file ends.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The archive names of one region, each folder's in file order, exactly as
// read: duplicates and empty names included.
struct ArchiveNames {
  std::vector<std::string> SoundPackNames;
  std::vector<std::string> ImagePackNames;
  std::vector<std::string> MusicNames;

  bool operator==(const ArchiveNames&) const = default;
};

ArchiveNames ReadRegionList(std::span<const std::uint8_t> file);

// The names of the game folder the folder list shows ("ImagePacks2",
// "SoundPacks" or "Music", case included); none for any other text.
const std::vector<std::string>* FolderNames(const ArchiveNames& names, std::string_view folder);
