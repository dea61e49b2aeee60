// The parts of the file services that are the same on every system: every
// operation goes to the active FileSystem.
#include "platform/files.h"

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace {
std::atomic<FileSystem*> active{nullptr};

FileStatus StatusOf(const std::string& path) { return ActiveFileSystem().Status(path, true); }
}  // namespace

FileSystem& ActiveFileSystem() {
  FileSystem* fileSystem = active.load(std::memory_order_acquire);
  return fileSystem ? *fileSystem : SystemFileSystem();
}

ScopedFileSystem::ScopedFileSystem(FileSystem& fileSystem)
    : previous_(active.exchange(&fileSystem, std::memory_order_acq_rel)) {}

ScopedFileSystem::~ScopedFileSystem() { active.store(previous_, std::memory_order_release); }

File::File() = default;
File::File(std::unique_ptr<OpenedFile> open) : open_(std::move(open)) {}
File::~File() = default;
File::File(File&& other) noexcept = default;
File& File::operator=(File&& other) noexcept = default;

File File::Open(const std::string& path, Mode mode) { return File(ActiveFileSystem().Open(path, mode)); }

bool File::IsOpen() const { return open_ != nullptr; }

std::int64_t File::Size() const { return open_ ? open_->Size() : -1; }

std::size_t File::Read(void* buffer, std::size_t size) { return open_ ? open_->Read(buffer, size) : 0; }

bool File::Seek(std::int64_t offset) { return open_ && offset >= 0 && open_->Seek(offset); }

bool File::Write(const void* data, std::size_t size) { return open_ && open_->Write(data, size); }

void File::Close() { open_.reset(); }

bool FileExists(const std::string& path) {
  FileStatus::Kind kind = StatusOf(path).kind;
  return kind != FileStatus::Kind::Missing && kind != FileStatus::Kind::Folder;
}

bool FolderExists(const std::string& path) { return StatusOf(path).kind == FileStatus::Kind::Folder; }

std::int64_t FileSize(const std::string& path) {
  FileStatus status = StatusOf(path);
  return status.kind == FileStatus::Kind::Folder ? -1 : status.size;
}

FileStatus LinkStatus(const std::string& path) { return ActiveFileSystem().Status(path, false); }

bool SameFolder(const std::string& a, const std::string& b) {
  FileStatus first = StatusOf(a), second = StatusOf(b);
  return first.kind == FileStatus::Kind::Folder && second.kind == FileStatus::Kind::Folder &&
         first.identity == second.identity;
}

std::int64_t FreeSpace(const std::string& path) { return ActiveFileSystem().FreeSpace(path); }

bool RemoveFile(const std::string& path) { return ActiveFileSystem().Remove(path); }

bool ClearReadOnly(const std::string& path) { return ActiveFileSystem().ClearReadOnly(path); }

bool SetHiddenOnly(const std::string& path) { return ActiveFileSystem().SetHiddenOnly(path); }

bool RenameFile(const std::string& from, const std::string& to) { return ActiveFileSystem().Rename(from, to, false); }

bool MoveReplacing(const std::string& from, const std::string& to) { return ActiveFileSystem().Rename(from, to, true); }

bool CreateFolder(const std::string& path) { return ActiveFileSystem().CreateFolder(path); }

std::vector<std::string> ListFileNames(const std::string& folder) { return ActiveFileSystem().List(folder); }

bool RemoveFolderWithFiles(const std::string& path) {
  for (const std::string& name : ListFileNames(path)) RemoveFile(JoinPath(path, name));
  return ActiveFileSystem().RemoveFolder(path);
}

namespace {
// Every byte of `source` into `target`; a read that fails part way must not
// pass for the end of the file.
bool CopyContent(File& source, File& target) {
  std::vector<char> piece(kFilePieceSize);
  std::int64_t copied = 0;
  SetLastFileError(FileError::None);
  while (std::size_t got = source.Read(piece.data(), piece.size())) {
    if (!target.Write(piece.data(), got)) return false;
    copied += static_cast<std::int64_t>(got);
  }
  if (copied == source.Size()) return true;
  if (LastFileError() == FileError::None) SetLastFileError(FileError::Other);
  return false;
}
}  // namespace

// The copy is made under a name of its own and then renamed over `to`: a
// file at `to` is replaced whole or not at all, and one that is the source
// under a second name is never emptied.
bool CopyFileReplacing(const std::string& from, const std::string& to) {
  File source = File::Open(from, File::Mode::ReadShared);
  if (!source.IsOpen()) return false;
  std::string copy;
  File target = CreateFileBeside(to, ".copying", copy);
  if (!target.IsOpen()) return false;
  bool copied = CopyContent(source, target);
  target.Close();
  if (copied && MoveReplacing(copy, to)) return true;
  const FileError reason = LastFileError();
  RemoveFile(copy);
  SetLastFileError(reason);
  return false;
}

File CreateFileBeside(const std::string& path, const std::string& suffix, std::string& created) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    created = path;
    if (attempt > 0) created.append(".").append(std::to_string(attempt));
    created.append(suffix);
    File file = File::Open(created, File::Mode::CreateNew);
    if (file.IsOpen()) return file;
    if (!FileExists(created)) break;  // not a name clash: the folder refuses new files
  }
  created.clear();
  return File();
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  File file = File::Open(path, File::Mode::ReadShared);
  std::int64_t size = file.Size();
  if (size <= 0 || static_cast<std::uint64_t>(size) > SIZE_MAX) return bytes;
  bytes.resize(static_cast<std::size_t>(size));
  bytes.resize(file.Read(bytes.data(), bytes.size()));
  return bytes;
}

bool WriteWholeFile(const std::string& path, const void* data, std::size_t size) {
  File file = File::Open(path, File::Mode::CreateOrEmpty);
  return file.Write(data, size);
}
