#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <cerrno>

#include "platform/file_error.h"
#include "platform/posix/native_text.h"

namespace {
std::string Native(const std::string& path) { return Utf8FromText(path); }

FileError FromErrno(int code) {
  switch (code) {
    case ENOENT: case ENOTDIR: return FileError::NotFound;
    case EACCES: case EPERM: case EROFS: return FileError::AccessDenied;
    case EBUSY: case ETXTBSY: return FileError::InUse;
    case ENOSPC: case EDQUOT: case EFBIG: return FileError::DiskFull;
    case ENAMETOOLONG: return FileError::NameTooLong;
    case EISDIR: return FileError::NotAFile;
    case EEXIST: return FileError::AlreadyExists;
    default: return FileError::Other;
  }
}

// Records the reason of the call that just failed; false, for returning.
bool Failed() {
  SetLastFileError(FromErrno(errno));
  return false;
}

int OpenFlags(File::Mode mode) {
  switch (mode) {
    case File::Mode::ReadShared: return O_RDONLY;
    case File::Mode::ReadWriteShared: return O_RDWR;
    case File::Mode::CreateNew: return O_WRONLY | O_CREAT | O_EXCL;
    case File::Mode::CreateOrEmpty: return O_WRONLY | O_CREAT | O_TRUNC;
  }
  return O_RDONLY;
}

bool StatOf(const std::string& path, struct stat& info) { return stat(Native(path).c_str(), &info) == 0; }
}  // namespace

char PathSeparator() { return '/'; }

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + PathSeparator() + name;
}

File File::Open(const std::string& path, Mode mode) {
  int fd = open(Native(path).c_str(), OpenFlags(mode) | O_CLOEXEC, 0644);
  if (fd < 0) {
    Failed();
    return File();
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    close(fd);
    SetLastFileError(FileError::NotAFile);
    return File();
  }
  return File(fd);
}

std::int64_t File::Size() const {
  struct stat info;
  if (!IsOpen() || fstat(static_cast<int>(handle_), &info) != 0) return -1;
  return info.st_size;
}

std::size_t File::Read(void* buffer, std::size_t size) {
  if (!IsOpen()) return 0;
  std::size_t total = 0;
  while (total < size) {
    ssize_t got = read(static_cast<int>(handle_), static_cast<char*>(buffer) + total, size - total);
    if (got < 0) Failed();
    if (got <= 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

bool File::Seek(std::int64_t offset) {
  return IsOpen() && offset >= 0 && lseek(static_cast<int>(handle_), offset, SEEK_SET) == offset;
}

bool File::Write(const void* data, std::size_t size) {
  if (!IsOpen()) return false;
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t put = write(static_cast<int>(handle_), bytes, size);
    if (put <= 0) return Failed();
    bytes += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

void File::Close() {
  if (IsOpen()) close(static_cast<int>(handle_));
  handle_ = -1;
}

bool FileExists(const std::string& path) {
  struct stat info;
  return StatOf(path, info) && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat info;
  return StatOf(path, info) && S_ISDIR(info.st_mode);
}

std::int64_t FileSize(const std::string& path) {
  struct stat info;
  if (!StatOf(path, info) || S_ISDIR(info.st_mode)) return -1;
  return info.st_size;
}

bool RemoveFile(const std::string& path) { return unlink(Native(path).c_str()) == 0 || Failed(); }

bool ClearReadOnly(const std::string& path) {
  struct stat info;
  return StatOf(path, info) && chmod(Native(path).c_str(), info.st_mode | S_IWUSR) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  // link + unlink gives a rename that refuses to replace, on one file system.
  if (link(Native(from).c_str(), Native(to).c_str()) != 0) return Failed();
  if (unlink(Native(from).c_str()) == 0) return true;
  Failed();
  // The source stays: take the new name away again, or a copy over it
  // would empty the one file both names stand for.
  unlink(Native(to).c_str());
  return false;
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  return rename(Native(from).c_str(), Native(to).c_str()) == 0 || Failed();
}

namespace {
bool CopyContent(File& source, File& target) {
  std::vector<char> piece(kFilePieceSize);
  while (std::size_t got = source.Read(piece.data(), piece.size())) {
    if (!target.Write(piece.data(), got)) return false;
  }
  return true;
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
  target = File();
  if (copied && MoveReplacing(copy, to)) return true;
  RemoveFile(copy);
  return false;
}

bool CreateFolder(const std::string& path) { return mkdir(Native(path).c_str(), 0755) == 0 || Failed(); }

bool RemoveFolderWithFiles(const std::string& path) {
  for (const std::string& name : ListFileNames(path)) RemoveFile(JoinPath(path, name));
  return rmdir(Native(path).c_str()) == 0;
}

std::vector<std::string> ListFileNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(Native(folder).c_str());
  if (!dir) return names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    bool isFolder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      struct stat info;
      isFolder = stat((Native(folder) + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }
    if (!isFolder) names.push_back(TextFromUtf8(name));
  }
  closedir(dir);
  return names;
}
