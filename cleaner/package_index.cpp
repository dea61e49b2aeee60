#include "cleaner/package_index.h"

#include "cleaner/cleaner_texts.h"
#include "platform/files.h"
#include "cleaner/package_list.h"
#include "shell/window.h"

void PackageIndex::Release() {
  FolderNames.clear();
  FolderOffsets.clear();
  FileNames.clear();
  FileSizes.clear();
  FileDigests.clear();
}

// The list is only ever read, so it is opened for reading: a read-only or
// shared list is as good a list as any.
bool PackageIndex::Load(const std::string& directory, Window& window) {
  const CleanerTexts& texts = CleanerTexts::Get();
  Release();
  const std::string path = JoinPath(directory, "package.lst");
  if (!FileExists(path)) {
    window.ShowMessage(texts.listMissing, texts.warningTitle, box::kError);
    return false;
  }
  File file = File::Open(path, File::Mode::ReadShared);
  FileSource source(file);
  FolderTable table;
  if (ReadFolderTable(source, table) != ListMark::Valid) {
    window.ShowMessage(texts.notAList, texts.warningTitle, box::kError);
    return false;
  }
  FolderNames = std::move(table.names);
  FolderOffsets = std::move(table.offsets);
  return true;
}

void PackageIndex::ReadFolderFiles(std::size_t position, const std::string& gameDirectory) {
  File file = File::Open(JoinPath(gameDirectory, "package.lst"), File::Mode::ReadShared);
  FileSource source(file);
  OfficialFiles files;
  ReadFolderRecords(source, FolderOffsets[position], files);
  FileNames.insert(FileNames.end(), files.names.begin(), files.names.end());
  FileSizes.insert(FileSizes.end(), files.sizes.begin(), files.sizes.end());
  FileDigests.insert(FileDigests.end(), files.digests.begin(), files.digests.end());
}
