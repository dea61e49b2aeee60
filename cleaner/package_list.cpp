#include "cleaner/package_list.h"

#include <algorithm>
#include <optional>

#include "cleaner/cleaner_texts.h"
#include "common/hex_text.h"
#include "platform/files.h"

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

namespace {
// The list is only ever read, so it is opened for reading: a read-only or
// shared list is as good a list as any.
ListStatus OpenList(const std::string& gameDirectory, File& file) {
  const std::string path = JoinPath(gameDirectory, "package.lst");
  file = File::Open(path, File::Mode::ReadShared);
  if (file.IsOpen()) return ListStatus::Read;
  // Something of that name that cannot be opened is no list the game wrote.
  return FileExists(path) ? ListStatus::NotAList : ListStatus::ListMissing;
}

// Where the record of `folder` starts: the first entry of that exact name.
std::optional<std::int32_t> FolderOffset(const std::vector<std::string>& folderNames,
                                         const std::vector<std::int32_t>& folderOffsets, const std::string& folder) {
  auto listed = std::find(folderNames.begin(), folderNames.end(), folder);
  if (listed == folderNames.end()) return std::nullopt;
  return folderOffsets[static_cast<std::size_t>(listed - folderNames.begin())];
}
}  // namespace

std::string ListStatusText(ListStatus status) {
  const CleanerTexts& texts = CleanerTexts::Get();
  switch (status) {
    case ListStatus::ListMissing: return texts.listMissing;
    case ListStatus::NotAList: return texts.notAList;
    case ListStatus::FolderNotInList: return texts.folderNotInList;
    case ListStatus::Read: break;
  }
  return {};
}

ListStatus ReadPackageFolders(const std::string& gameDirectory, FolderTable& table) {
  File file;
  if (ListStatus status = OpenList(gameDirectory, file); status != ListStatus::Read) return status;
  FileSource source(file);
  return ReadFolderTable(source, table) == ListMark::Valid ? ListStatus::Read : ListStatus::NotAList;
}

ListStatus ReadListedFolder(const std::string& gameDirectory, const std::vector<std::string>& folderNames,
                            const std::vector<std::int32_t>& folderOffsets, const std::string& folder,
                            OfficialFiles& files) {
  std::optional<std::int32_t> offset = FolderOffset(folderNames, folderOffsets, folder);
  if (!offset) return ListStatus::FolderNotInList;
  File file;
  OpenList(gameDirectory, file);
  FileSource source(file);  // empty when the list is gone
  ReadFolderRecords(source, *offset, files);
  return ListStatus::Read;
}

ListStatus ReadOfficialFiles(const std::string& gameDirectory, const std::string& folder, OfficialFiles& files) {
  File file;
  if (ListStatus status = OpenList(gameDirectory, file); status != ListStatus::Read) return status;
  FileSource source(file);
  FolderTable table;
  if (ReadFolderTable(source, table) != ListMark::Valid) return ListStatus::NotAList;
  std::optional<std::int32_t> offset = FolderOffset(table.names, table.offsets, folder);
  if (!offset) return ListStatus::FolderNotInList;
  ReadFolderRecords(source, *offset, files);
  return ListStatus::Read;
}
