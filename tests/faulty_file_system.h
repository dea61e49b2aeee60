#pragma once
// A file system for tests that hands every operation to the system's own
// and makes chosen ones fail as a real disk or another program would: a
// delete refused because a virus scanner holds the file, a refused rename,
// a disk that fills up, a file that vanishes after it was listed. The
// reasons are recorded as the real file system records them.
//
//   FaultyFileSystem faults;
//   faults.FillDiskAfter(100, backupFolder);
//   ScopedFileSystem use(faults);
//
// A rule names a path: it holds for that path and for everything inside it
// (a folder stands for a drive); an empty path holds for every path. Set
// the rules before the file system is put in place; from then on it may be
// used from any thread.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file_system.h"

class FaultyFileSystem final : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& real = SystemFileSystem()) : real_(real) {}

  // Deletes fail with `error` (InUse: another program holds the file).
  void RefuseRemove(const std::string& path, FileError error = FileError::InUse);
  // Renames of the file at `path` fail with `error`; the new name does not
  // count (a rename onto another drive fails so).
  void RefuseRename(const std::string& path, FileError error = FileError::AccessDenied);
  // Once `bytes` bytes in all have been written into files there, every
  // further byte fails with DiskFull, as a disk with that much room would.
  void FillDiskAfter(std::uint64_t bytes, const std::string& path = {});
  // The file is still listed, but is gone when opened or looked at.
  void Vanish(const std::string& path);
  // The files marked hidden so far, in order; the mark itself is the real
  // file system's, which has none to set on some systems.
  std::vector<std::string> MarkedHidden();

  std::unique_ptr<OpenedFile> Open(const std::string& path, File::Mode mode) override;
  FileStatus Status(const std::string& path, bool followLinks) override;
  bool Remove(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to, bool replace) override;
  bool CreateFolder(const std::string& path) override { return real_.CreateFolder(path); }
  bool RemoveFolder(const std::string& path) override { return real_.RemoveFolder(path); }
  bool ClearReadOnly(const std::string& path) override { return real_.ClearReadOnly(path); }
  bool SetHiddenOnly(const std::string& path) override;
  std::vector<std::string> List(const std::string& folder) override { return real_.List(folder); }
  std::int64_t FreeSpace(const std::string& path) override;

 private:
  class FaultyFile;
  struct Rule {
    std::string path;
    FileError error;
  };
  struct Disk {
    std::string path;
    std::uint64_t room;
  };
  static bool Holds(const std::string& rulePath, const std::string& path);
  static bool Refused(const std::vector<Rule>& rules, const std::string& path);
  Disk* DiskOf(const std::string& path);
  // Takes room for `size` bytes written into a file at `path`; the number
  // of bytes there is room for.
  std::size_t Reserve(const std::string& path, std::size_t size);

  FileSystem& real_;
  std::vector<Rule> removes_, renames_, vanished_;
  std::vector<Disk> disks_;
  std::vector<std::string> markedHidden_;
  std::mutex mutex_;  // guards the room left on the disks and the hidden marks
};
