#pragma once
// Files by path. Paths are GB18030 texts; each platform converts them to its
// own form (wide on Windows, UTF-8 elsewhere) at the system call.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_error.h"

// Large enough for sequential disk speed, small enough to keep memory flat.
inline constexpr std::size_t kFilePieceSize = 1 << 20;

// The separator the platform joins paths with.
char PathSeparator();
std::string JoinPath(const std::string& folder, const std::string& name);

class File {
 public:
  enum class Mode {
    ReadShared,       // read only; others may read, write and delete
    ReadWriteShared,  // existing file, read and write; others may read and write
    CreateNew,        // a new file for writing; fails when the name exists
    CreateOrEmpty,    // create, or empty an existing file, for writing
  };

  static File Open(const std::string& path, Mode mode);
  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool IsOpen() const;
  std::int64_t Size() const;  // -1 when not open
  // Reads up to `size` bytes at the current position; fewer at the end.
  std::size_t Read(void* buffer, std::size_t size);
  // Positions beyond the end are allowed; reads there return nothing.
  bool Seek(std::int64_t offset);
  bool Write(const void* data, std::size_t size);
  void Close();

 private:
  explicit File(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_ = -1;
};

bool FileExists(const std::string& path);      // a file, not a folder
bool FolderExists(const std::string& path);
std::int64_t FileSize(const std::string& path);  // -1 when there is none
bool RemoveFile(const std::string& path);
// Takes away a file's read-only mark, so that it can be removed.
bool ClearReadOnly(const std::string& path);
// Rename that never replaces an existing file.
bool RenameFile(const std::string& from, const std::string& to);
// Rename that replaces an existing file at `to`.
bool MoveReplacing(const std::string& from, const std::string& to);
bool CopyFileReplacing(const std::string& from, const std::string& to);
bool CreateFolder(const std::string& path);
// Removes a folder with the files directly inside it.
bool RemoveFolderWithFiles(const std::string& path);
// The names of the entries of `folder` that are not folders, in the order
// the file system lists them.
std::vector<std::string> ListFileNames(const std::string& folder);
// Reads a whole file; empty when it is missing or unreadable.
// A new file for writing beside `path`, named `path` + `suffix`, or, when
// that name is taken, `path` + ".1" + `suffix` and so on; `created` gets the
// name. Not open when the folder takes no new file.
File CreateFileBeside(const std::string& path, const std::string& suffix, std::string& created);
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const void* data, std::size_t size);
