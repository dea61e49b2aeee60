#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string_view>

#include "platform/file_error.h"
#include "platform/file_system.h"
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
    case EISDIR: case ENXIO: case ELOOP: return FileError::NotAFile;
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

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

class PosixFile final : public OpenedFile {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}

  std::int64_t Size() override {
    struct stat info;
    return fstat(fd_.Get(), &info) == 0 ? info.st_size : -1;
  }

  std::size_t Read(void* buffer, std::size_t size) override {
    std::size_t total = 0;
    while (total < size) {
      ssize_t got = read(fd_.Get(), static_cast<char*>(buffer) + total, size - total);
      if (got < 0) Failed();
      if (got <= 0) break;
      total += static_cast<std::size_t>(got);
    }
    return total;
  }

  bool Seek(std::int64_t offset) override { return lseek(fd_.Get(), offset, SEEK_SET) == offset; }

  bool Write(const void* data, std::size_t size) override {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
      ssize_t put = write(fd_.Get(), bytes, size);
      if (put <= 0) return Failed();
      bytes += put;
      size -= static_cast<std::size_t>(put);
    }
    return true;
  }

 private:
  Descriptor fd_;
};

FileStatus::Kind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileStatus::Kind::File;
  if (S_ISDIR(mode)) return FileStatus::Kind::Folder;
  if (S_ISLNK(mode)) return FileStatus::Kind::Link;
  return FileStatus::Kind::Other;
}

// Letters A to Z equal a to z; every other byte must be equal, whatever the
// locale says.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

struct CloseFolder {
  void operator()(DIR* dir) const { closedir(dir); }
};

bool IsFolderEntry(const std::string& nativeFolder, const dirent& entry) {
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return entry.d_type == DT_DIR;
  struct stat info;
  return stat((nativeFolder + "/" + entry.d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A descriptor of a regular file at `path`, or -1. A pipe or a device would
// make open wait for a writer or a reader: open without waiting, keep only
// regular files, and let the descriptor wait again as files do.
int OpenRegularFile(const std::string& path, File::Mode mode) {
  int fd = open(Native(path).c_str(), OpenFlags(mode) | O_CLOEXEC | O_NONBLOCK, 0644);
  if (fd < 0) {
    Failed();
    return -1;
  }
  struct stat info;
  const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (!regular || fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    if (regular) Failed();
    else SetLastFileError(FileError::NotAFile);
    close(fd);
    return -1;
  }
  return fd;
}

class PosixFileSystem final : public FileSystem {
 public:
  std::unique_ptr<OpenedFile> Open(const std::string& path, File::Mode mode) override {
    int fd = OpenRegularFile(path, mode);
    return fd < 0 ? nullptr : std::make_unique<PosixFile>(fd);
  }

  FileStatus Status(const std::string& path, bool followLinks) override {
    struct stat info;
    FileStatus status;
    const std::string native = Native(path);
    if ((followLinks ? stat(native.c_str(), &info) : lstat(native.c_str(), &info)) != 0) {
      Failed();
      return status;
    }
    status.kind = KindOf(info.st_mode);
    status.size = info.st_size;
    status.identity = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    return status;
  }

  bool Remove(const std::string& path) override { return unlink(Native(path).c_str()) == 0 || Failed(); }

  bool Rename(const std::string& from, const std::string& to, bool replace) override {
    if (replace) return rename(Native(from).c_str(), Native(to).c_str()) == 0 || Failed();
    // link + unlink gives a rename that refuses to replace, on one file system.
    if (link(Native(from).c_str(), Native(to).c_str()) != 0) return Failed();
    if (unlink(Native(from).c_str()) == 0) return true;
    Failed();
    // The source stays: take the new name away again, or a copy over it
    // would empty the one file both names stand for.
    unlink(Native(to).c_str());
    return false;
  }

  bool CreateFolder(const std::string& path) override { return mkdir(Native(path).c_str(), 0755) == 0 || Failed(); }

  bool RemoveFolder(const std::string& path) override { return rmdir(Native(path).c_str()) == 0 || Failed(); }

  // A file's own mode never stops its removal here (the folder's does), so
  // there is nothing to take away, and nothing is changed.
  bool ClearReadOnly(const std::string&) override { return false; }

  // Hidden here means a name that starts with a dot, which would be another
  // name: a file keeps the name it was given and counts as marked.
  bool SetHiddenOnly(const std::string&) override { return true; }

  std::vector<std::string> List(const std::string& folder) override {
    std::vector<std::string> names;
    const std::string native = Native(folder);
    std::unique_ptr<DIR, CloseFolder> dir(opendir(native.c_str()));
    if (!dir) {
      Failed();
      return names;
    }
    while (dirent* entry = readdir(dir.get())) {
      const std::string name = entry->d_name;
      if (name != "." && name != ".." && !IsFolderEntry(native, *entry)) names.push_back(TextFromUtf8(name));
    }
    return names;
  }

  std::int64_t FreeSpace(const std::string& path) override {
    struct statvfs info;
    if (statvfs(Native(path).c_str(), &info) != 0) {
      Failed();
      return -1;
    }
    return static_cast<std::int64_t>(info.f_bavail) * static_cast<std::int64_t>(info.f_frsize);
  }
};
}  // namespace

FileSystem& SystemFileSystem() {
  static PosixFileSystem fileSystem;
  return fileSystem;
}

char PathSeparator() { return '/'; }

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + PathSeparator() + name;
}

std::string FindFolderIgnoringCase(const std::string& parent, const std::string& name) {
  const std::string nativeParent = Native(parent), nativeName = Native(name);
  std::string found;
  if (std::unique_ptr<DIR, CloseFolder> dir(opendir(nativeParent.c_str())); dir) {
    while (dirent* entry = readdir(dir.get())) {
      const std::string candidate = entry->d_name;
      if (!SameIgnoringAsciiCase(candidate, nativeName) || !IsFolderEntry(nativeParent, *entry)) continue;
      if (found.empty() || candidate < found) found = candidate;
    }
  }
  return JoinPath(parent, found.empty() ? name : TextFromUtf8(found));
}

bool NameSurvivesConversion(const std::string& name) { return TextFromUtf8(Utf8FromText(name)) == name; }
