#pragma once
// The game's package.lst as Pellory reads it: a table of folders, each with
// the name, size and SHA-256 digest of every official file.
//
// Lengths and counts in the file are not trusted: every read is bounded by
// the file, nothing is allocated beyond what the file holds, and records
// that would lie wholly past its end are not read.
#include <cstdint>
#include <string>
#include <vector>

#include "common/binary_reader.h"

struct FolderTable {
  std::vector<std::string> names;
  std::vector<std::int32_t> offsets;  // of each folder record in the file
};

struct OfficialFiles {
  std::vector<std::string> names;
  std::vector<std::int32_t> sizes;
  std::vector<std::string> digests;  // hex texts
};

enum class ListMark { Valid, NotAList };

// Reads the folder table; NotAList when the mark at offset 32 is not "LST".
ListMark ReadFolderTable(ByteSource& list, FolderTable& table);

// Appends the file records of the folder record at `offset`.
void ReadFolderRecords(ByteSource& list, std::int64_t offset, OfficialFiles& files);
