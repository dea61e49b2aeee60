#pragma once
// The file system behind the free functions of files.h, as one small
// replaceable interface: every operation that can fail in a way a user
// meets goes through the active instance, so that a test can put one of its
// own in front of the real one and make a delete, a rename or a write fail
// as a full disk or a virus scanner would. A failing operation records its
// reason with SetLastFileError.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_error.h"
#include "platform/files.h"

// One open file of a FileSystem; closed when destroyed.
class OpenedFile {
 public:
  virtual ~OpenedFile() = default;
  virtual std::int64_t Size() = 0;
  // Up to `size` bytes at the current position; fewer at the end or on failure.
  virtual std::size_t Read(void* buffer, std::size_t size) = 0;
  virtual bool Seek(std::int64_t offset) = 0;
  // All of `size` bytes, or false.
  virtual bool Write(const void* data, std::size_t size) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Regular files only, and never in a way that waits for another program
  // (a pipe or a device gives NotAFile). Null when it cannot be opened.
  virtual std::unique_ptr<OpenedFile> Open(const std::string& path, File::Mode mode) = 0;
  // What lies at `path`; with `followLinks` false a link is described
  // itself, not what it points to.
  virtual FileStatus Status(const std::string& path, bool followLinks) = 0;
  // Removes a file, or a link itself; never a folder.
  virtual bool Remove(const std::string& path) = 0;
  // Renames a file or a link itself. With `replace` a file at `to` is
  // replaced in one step; without it the rename fails when `to` exists.
  virtual bool Rename(const std::string& from, const std::string& to, bool replace) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  // Removes an empty folder.
  virtual bool RemoveFolder(const std::string& path) = 0;
  // Takes away a read-only mark that stops the removal of a file (never of
  // what a link points to); true when there was one and it is gone.
  virtual bool ClearReadOnly(const std::string& path) = 0;
  // Leaves the file marked hidden and nothing else.
  virtual bool SetHiddenOnly(const std::string& path) = 0;
  // The names of the entries of `folder` that are not folders.
  virtual std::vector<std::string> List(const std::string& folder) = 0;
  // Bytes free for new data on the drive of `path`; -1 when unknown.
  virtual std::int64_t FreeSpace(const std::string& path) = 0;
};

// The system's own file system.
FileSystem& SystemFileSystem();

// The file system that the free functions of files.h use now. Safe to call
// from any thread; replace it only while no other thread uses files.
FileSystem& ActiveFileSystem();

// Puts `fileSystem` in place for its own lifetime and restores the one
// before it afterwards.
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& fileSystem);
  ~ScopedFileSystem();
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};
