#include "downloader/region_list.h"

#include <algorithm>

#include "common/binary_reader.h"

namespace {
struct FolderBlock {
  std::string_view folder;
  std::vector<std::string> ArchiveNames::*names;
};

constexpr FolderBlock kFolderBlocks[] = {
    {"SoundPacks", &ArchiveNames::SoundPackNames},
    {"ImagePacks2", &ArchiveNames::ImagePackNames},
    {"Music", &ArchiveNames::MusicNames},
};

// An entry is a 4-byte name length, the name, and 44 bytes about the archive
// that are not read.
constexpr std::int64_t kEntryTail = 44;
constexpr std::int64_t kSmallestEntry = 4 + kEntryTail;

// Where the block of `folder` starts: just after the first occurrence of its
// name and a zero byte anywhere in the file; -1 when there is none.
std::int64_t BlockStart(std::span<const std::uint8_t> file, std::string_view folder) {
  const std::string_view bytes(reinterpret_cast<const char*>(file.data()), file.size());
  std::string marker(folder);
  marker.push_back('\0');
  const std::size_t found = bytes.find(marker);
  if (found == std::string_view::npos) return -1;
  return static_cast<std::int64_t>(found + marker.size());
}

// The name of `length` bytes up to its first zero byte; a name cut off by
// the end of the file keeps the bytes that are there.
std::string ReadName(BinaryReader& reader, std::int32_t length) {
  if (length <= 0) return {};
  std::string name(static_cast<std::size_t>(std::min<std::int64_t>(length, reader.Remaining())), '\0');
  name.resize(reader.ReadInto(name.data(), name.size()));
  name.erase(std::find(name.begin(), name.end(), '\0'), name.end());
  return name;
}

void ReadBlock(BinaryReader& reader, std::vector<std::string>& names) {
  const std::int32_t count = reader.ReadInt32();
  if (count <= 0) return;
  // Every entry but one cut short by the end takes at least kSmallestEntry bytes.
  names.reserve(static_cast<std::size_t>(std::min<std::int64_t>(count, reader.Remaining() / kSmallestEntry + 1)));
  for (std::int32_t i = 0; i < count && !reader.AtEnd(); ++i) {
    names.push_back(ReadName(reader, reader.ReadInt32()));
    reader.Skip(kEntryTail);
  }
}
}  // namespace

ArchiveNames ReadRegionList(std::span<const std::uint8_t> file) {
  ArchiveNames names;
  MemorySource source(file);
  for (const FolderBlock& block : kFolderBlocks) {
    const std::int64_t start = BlockStart(file, block.folder);
    if (start < 0) continue;  // a folder the file does not name has no archives
    BinaryReader reader(source);
    reader.MoveTo(start);
    ReadBlock(reader, names.*block.names);
  }
  return names;
}

const std::vector<std::string>* FolderNames(const ArchiveNames& names, std::string_view folder) {
  for (const FolderBlock& block : kFolderBlocks)
    if (block.folder == folder) return &(names.*block.names);
  return nullptr;
}
