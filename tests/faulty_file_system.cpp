#include "tests/faulty_file_system.h"

#include <algorithm>

// An open file whose writes take their room from the test's disk.
class FaultyFileSystem::FaultyFile final : public OpenedFile {
 public:
  FaultyFile(std::unique_ptr<OpenedFile> real, FaultyFileSystem& fileSystem, std::string path)
      : real_(std::move(real)), fileSystem_(fileSystem), path_(std::move(path)) {}

  std::int64_t Size() override { return real_->Size(); }
  std::size_t Read(void* buffer, std::size_t size) override { return real_->Read(buffer, size); }
  bool Seek(std::int64_t offset) override { return real_->Seek(offset); }
  bool Write(const void* data, std::size_t size) override {
    const std::size_t room = fileSystem_.Reserve(path_, size);
    if (room > 0 && !real_->Write(data, room)) return false;
    if (room == size) return true;
    SetLastFileError(FileError::DiskFull);
    return false;
  }

 private:
  std::unique_ptr<OpenedFile> real_;
  FaultyFileSystem& fileSystem_;
  std::string path_;
};

void FaultyFileSystem::RefuseRemove(const std::string& path, FileError error) { removes_.push_back({path, error}); }

void FaultyFileSystem::RefuseRename(const std::string& path, FileError error) { renames_.push_back({path, error}); }

void FaultyFileSystem::FillDiskAfter(std::uint64_t bytes, const std::string& path) { disks_.push_back({path, bytes}); }

void FaultyFileSystem::Vanish(const std::string& path) { vanished_.push_back({path, FileError::NotFound}); }

std::vector<std::string> FaultyFileSystem::MarkedHidden() {
  std::lock_guard<std::mutex> lock(mutex_);
  return markedHidden_;
}

bool FaultyFileSystem::Holds(const std::string& rulePath, const std::string& path) {
  if (rulePath.empty() || path == rulePath) return true;
  if (path.size() <= rulePath.size() || path.compare(0, rulePath.size(), rulePath) != 0) return false;
  const char next = path[rulePath.size()];
  return next == '/' || next == PathSeparator();
}

// Whether a rule refuses `path`; it then records the rule's reason.
bool FaultyFileSystem::Refused(const std::vector<Rule>& rules, const std::string& path) {
  for (const Rule& rule : rules) {
    if (!Holds(rule.path, path)) continue;
    SetLastFileError(rule.error);
    return true;
  }
  return false;
}

FaultyFileSystem::Disk* FaultyFileSystem::DiskOf(const std::string& path) {
  for (Disk& disk : disks_)
    if (Holds(disk.path, path)) return &disk;
  return nullptr;
}

std::size_t FaultyFileSystem::Reserve(const std::string& path, std::size_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  Disk* disk = DiskOf(path);
  if (!disk) return size;
  const std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(size, disk->room));
  disk->room -= room;
  return room;
}

std::unique_ptr<OpenedFile> FaultyFileSystem::Open(const std::string& path, File::Mode mode) {
  if (Refused(vanished_, path)) return nullptr;
  std::unique_ptr<OpenedFile> real = real_.Open(path, mode);
  if (!real) return nullptr;
  return std::make_unique<FaultyFile>(std::move(real), *this, path);
}

FileStatus FaultyFileSystem::Status(const std::string& path, bool followLinks) {
  if (Refused(vanished_, path)) return {};
  return real_.Status(path, followLinks);
}

bool FaultyFileSystem::Remove(const std::string& path) { return !Refused(removes_, path) && real_.Remove(path); }

bool FaultyFileSystem::Rename(const std::string& from, const std::string& to, bool replace) {
  return !Refused(renames_, from) && real_.Rename(from, to, replace);
}

bool FaultyFileSystem::SetHiddenOnly(const std::string& path) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    markedHidden_.push_back(path);
  }
  return real_.SetHiddenOnly(path);
}

std::int64_t FaultyFileSystem::FreeSpace(const std::string& path) {
  const std::int64_t real = real_.FreeSpace(path);
  std::lock_guard<std::mutex> lock(mutex_);
  const Disk* disk = DiskOf(path);
  if (!disk) return real;
  const auto room = static_cast<std::int64_t>(std::min<std::uint64_t>(disk->room, INT64_MAX));
  return real < 0 ? room : std::min(real, room);
}
