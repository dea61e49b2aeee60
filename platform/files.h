#pragma once
// Files by path. Paths are GB18030 texts; each platform converts them to its
// own form (wide on Windows, UTF-8 elsewhere) at the system call.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_error.h"

class OpenedFile;

// Large enough for sequential disk speed, small enough to keep memory flat.
inline constexpr std::size_t kFilePieceSize = 1 << 20;

// The separator the platform joins paths with.
char PathSeparator();
std::string JoinPath(const std::string& folder, const std::string& name);
// The path of the folder `name` below `parent`, whatever the case of the
// letters of its name on disk: Windows names ignore case, so a program's
// texts may spell one folder in more than one way. Where names keep their
// case and several folders match, the first in byte order is taken; when
// none matches, the path is `parent` joined with `name` as given.
std::string FindFolderIgnoringCase(const std::string& parent, const std::string& name);

class File {
 public:
  enum class Mode {
    ReadShared,       // read only; others may read, write and delete
    ReadWriteShared,  // existing file, read and write; others may read and write
    CreateNew,        // a new file for writing; fails when the name exists
    CreateOrEmpty,    // create, or empty an existing file, for writing
  };

  // Regular files only; a pipe, a device or a folder gives NotAFile.
  static File Open(const std::string& path, Mode mode);
  File();
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
  explicit File(std::unique_ptr<OpenedFile> open);
  std::unique_ptr<OpenedFile> open_;
};

// What makes a file itself, whatever name it is reached by: the device
// and inode, or the volume serial number and file index.
struct FileIdentity {
  std::uint64_t volume = 0, index = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct FileStatus {
  enum class Kind { Missing, File, Folder, Link, Other };  // Other: a pipe, a device
  Kind kind = Kind::Missing;
  std::int64_t size = -1;
  FileIdentity identity;
};

bool FileExists(const std::string& path);      // a file, not a folder
bool FolderExists(const std::string& path);
std::int64_t FileSize(const std::string& path);  // -1 when there is none
// What lies at `path`, a link itself rather than what it points to.
FileStatus LinkStatus(const std::string& path);
// Whether two paths name one folder, however they are written (a trailing
// separator, "." or "..", letter case, a link on the way).
bool SameFolder(const std::string& a, const std::string& b);
// Bytes free for new data on the drive of `path`; -1 when unknown.
std::int64_t FreeSpace(const std::string& path);
// Whether a name as the programs hold it leads back to the very name on
// disk it was read from: a name that the program's text cannot hold
// unchanged would name another file.
bool NameSurvivesConversion(const std::string& name);
// Removes a file, or a link itself.
bool RemoveFile(const std::string& path);
// Takes away a read-only mark that stops the file's removal; true when
// there was one. (On POSIX systems a file's mode never stops its removal.)
bool ClearReadOnly(const std::string& path);
// Marks a file hidden and nothing else: read-only, system and archive are
// cleared. Where files carry no such marks there is nothing to do.
bool SetHiddenOnly(const std::string& path);
// Rename that never replaces an existing file.
bool RenameFile(const std::string& from, const std::string& to);
// Rename that replaces an existing file at `to`.
bool MoveReplacing(const std::string& from, const std::string& to);
// Copies under a new name beside `to` and renames that over `to` once
// complete: a file at `to` is replaced whole or stays as it was.
bool CopyFileReplacing(const std::string& from, const std::string& to);
bool CreateFolder(const std::string& path);
// Removes a folder with the files directly inside it.
bool RemoveFolderWithFiles(const std::string& path);
// The names of the entries of `folder` that are not folders, in the order
// the file system lists them.
std::vector<std::string> ListFileNames(const std::string& folder);
// A new file for writing beside `path`, named `path` + `suffix`, or, when
// that name is taken, `path` + ".1" + `suffix` and so on; `created` gets the
// name. Not open when the folder takes no new file.
File CreateFileBeside(const std::string& path, const std::string& suffix, std::string& created);
// Reads a whole file; empty when it is missing or unreadable.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const void* data, std::size_t size);
