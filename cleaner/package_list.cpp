#include "cleaner/package_list.h"

#include "common/hex_text.h"

namespace {
constexpr std::int64_t kMarkOffset = 32;
// Past this many bytes before the end no folder record can start.
constexpr std::int64_t kTailWithoutRecord = 8;

// A folder name length of 0 stands for 4.
std::int64_t FolderNameLength(BinaryReader& reader) {
  std::int32_t length = reader.ReadInt32();
  return length == 0 ? 4 : length;
}

void SkipFileRecords(BinaryReader& reader, std::int32_t count) {
  for (std::int32_t i = 0; i < count && !reader.AtEnd(); ++i) {
    reader.Skip(static_cast<std::int64_t>(reader.ReadInt32()) + 8);  // name, size, the unread field
    reader.Skip(reader.ReadInt32());                                  // digest
  }
}
}  // namespace

ListMark ReadFolderTable(ByteSource& list, FolderTable& table) {
  BinaryReader reader(list);
  reader.MoveTo(kMarkOffset);
  if (reader.ReadText(4) != "LST") return ListMark::NotAList;
  reader.Skip(4);
  while (reader.Position() < reader.Size() - kTailWithoutRecord) {
    table.offsets.push_back(static_cast<std::int32_t>(reader.Position()));
    table.names.push_back(reader.ReadText(FolderNameLength(reader)));
    SkipFileRecords(reader, reader.ReadInt32());
    reader.Skip(4);
  }
  return ListMark::Valid;
}

void ReadFolderRecords(ByteSource& list, std::int64_t offset, OfficialFiles& files) {
  BinaryReader reader(list);
  reader.MoveTo(offset);
  reader.Skip(FolderNameLength(reader));
  const std::int32_t count = reader.ReadInt32();
  for (std::int32_t i = 0; i < count && !reader.AtEnd(); ++i) {
    files.names.push_back(reader.ReadText(reader.ReadInt32()));
    files.sizes.push_back(reader.ReadInt32());
    reader.Skip(4);
    files.digests.push_back(HexText(reader.ReadBytes(reader.ReadInt32())));
  }
}
