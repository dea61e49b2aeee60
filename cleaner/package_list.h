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

// What reading the package.lst of a game directory gave.
enum class ListStatus {
  Read,
  ListMissing,      // the directory has no package.lst
  NotAList,         // it has one, but it is not the game's list
  FolderNotInList,  // the list names no such folder
};

// The message for a status other than Read, as the window and the console
// program both give it.
std::string ListStatusText(ListStatus status);

// Reads the folder table of the game directory's package.lst: Read,
// ListMissing or NotAList.
ListStatus ReadPackageFolders(const std::string& gameDirectory, FolderTable& table);

// Appends the official files of `folder`, looked up in a folder table read
// earlier from the same game directory: Read or FolderNotInList. A list that
// can no longer be read gives no files.
ListStatus ReadListedFolder(const std::string& gameDirectory, const std::vector<std::string>& folderNames,
                            const std::vector<std::int32_t>& folderOffsets, const std::string& folder,
                            OfficialFiles& files);

// Both steps at once: appends the official files of `folder` from the game
// directory's package.lst, reading the list once.
ListStatus ReadOfficialFiles(const std::string& gameDirectory, const std::string& folder, OfficialFiles& files);
