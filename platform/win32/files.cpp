#include "platform/files.h"

#include <windows.h>

#include <memory>

#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/win32/native_text.h"

namespace {
FileError FromSystemError(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_DRIVE: return FileError::NotFound;
    case ERROR_ACCESS_DENIED: case ERROR_WRITE_PROTECT: return FileError::AccessDenied;
    case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: return FileError::InUse;
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return FileError::DiskFull;
    case ERROR_FILENAME_EXCED_RANGE: return FileError::NameTooLong;
    case ERROR_FILE_EXISTS: case ERROR_ALREADY_EXISTS: return FileError::AlreadyExists;
    default: return FileError::Other;
  }
}

// Records the reason of the call that just failed; false, for returning.
bool Failed() {
  SetLastFileError(FromSystemError(GetLastError()));
  return false;
}

// The result of a Win32 call that returns a BOOL, with the reason recorded.
bool Succeeded(BOOL result) { return result || Failed(); }

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (IsOpen()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

class Win32File final : public OpenedFile {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}

  std::int64_t Size() override {
    LARGE_INTEGER size;
    return GetFileSizeEx(handle_.Get(), &size) ? size.QuadPart : -1;
  }

  std::size_t Read(void* buffer, std::size_t size) override {
    std::size_t total = 0;
    while (total < size) {
      DWORD want = size - total > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size - total);
      DWORD got = 0;
      if (!ReadFile(handle_.Get(), static_cast<char*>(buffer) + total, want, &got, nullptr)) Failed();
      if (got == 0) break;
      total += got;
    }
    return total;
  }

  bool Seek(std::int64_t offset) override {
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(handle_.Get(), to, nullptr, FILE_BEGIN);
  }

  bool Write(const void* data, std::size_t size) override {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
      DWORD want = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
      DWORD put = 0;
      if (!WriteFile(handle_.Get(), bytes, want, &put, nullptr) || put == 0) return Failed();
      bytes += put;
      size -= put;
    }
    return true;
  }

 private:
  Handle handle_;
};

DWORD Attributes(const std::string& path) { return GetFileAttributesW(WideFromText(path).c_str()); }

bool IsReadOnly(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// A virus scanner or an indexer often holds a file that was just written
// for a moment: a delete or rename it refuses is tried a few more times.
// A read-only file is refused for good, and is not waited for.
template <typename Call>
bool RetriedWhileHeld(const std::string& path, Call call) {
  for (int attempt = 1;; ++attempt) {
    if (call()) return true;
    const DWORD code = GetLastError();
    const bool held = code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
                      (code == ERROR_ACCESS_DENIED && !IsReadOnly(path));
    if (!held || attempt == 4) {
      SetLastError(code);
      return Failed();
    }
    Sleep(25 * attempt);
  }
}

// A handle that asks for no access to the content, so that no other
// program's sharing stops it; folders and links too.
HANDLE OpenForAttributes(const std::string& path, DWORD access, bool followLinks) {
  return CreateFileW(WideFromText(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
}

FileStatus::Kind KindOf(DWORD attributes, bool followLinks, DWORD type) {
  if (!followLinks && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return FileStatus::Kind::Link;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileStatus::Kind::Folder;
  return type == FILE_TYPE_DISK ? FileStatus::Kind::File : FileStatus::Kind::Other;
}

// The listing of one folder, closed when done.
class FolderSearch {
 public:
  FolderSearch(const std::string& folder, WIN32_FIND_DATAW& data)
      : find_(FindFirstFileW(WideFromText(folder + "\\*.*").c_str(), &data)) {}
  ~FolderSearch() {
    if (IsOpen()) FindClose(find_);
  }
  FolderSearch(const FolderSearch&) = delete;
  FolderSearch& operator=(const FolderSearch&) = delete;
  bool IsOpen() const { return find_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAW& data) { return FindNextFileW(find_, &data); }

 private:
  HANDLE find_;
};

class Win32FileSystem final : public FileSystem {
 public:
  std::unique_ptr<OpenedFile> Open(const std::string& path, File::Mode mode) override {
    DWORD access = GENERIC_READ, share = FILE_SHARE_READ | FILE_SHARE_WRITE, disposition = OPEN_EXISTING;
    switch (mode) {
      case File::Mode::ReadShared: share |= FILE_SHARE_DELETE; break;
      case File::Mode::ReadWriteShared: access |= GENERIC_WRITE; break;
      case File::Mode::CreateNew: access = GENERIC_WRITE; share = 0; disposition = CREATE_NEW; break;
      case File::Mode::CreateOrEmpty: access = GENERIC_WRITE; share = 0; disposition = CREATE_ALWAYS; break;
    }
    HANDLE handle = CreateFileW(WideFromText(path).c_str(), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD attributes = Attributes(path);
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        SetLastFileError(FileError::NotAFile);
      else
        Failed();
      return nullptr;
    }
    auto file = std::make_unique<Win32File>(handle);
    // Only files on a disk: a pipe or a device would wait for another program.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
      SetLastFileError(FileError::NotAFile);
      return nullptr;
    }
    return file;
  }

  FileStatus Status(const std::string& path, bool followLinks) override {
    FileStatus status;
    Handle handle(OpenForAttributes(path, 0, followLinks));
    BY_HANDLE_FILE_INFORMATION info;
    if (!handle.IsOpen() || !GetFileInformationByHandle(handle.Get(), &info)) {
      // A file about to be deleted may refuse every handle; its
      // attributes still tell what it is.
      WIN32_FILE_ATTRIBUTE_DATA data;
      if (!GetFileAttributesExW(WideFromText(path).c_str(), GetFileExInfoStandard, &data)) {
        Failed();
        return status;
      }
      status.kind = KindOf(data.dwFileAttributes, followLinks, FILE_TYPE_DISK);
      status.size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
      return status;
    }
    status.kind = KindOf(info.dwFileAttributes, followLinks, GetFileType(handle.Get()));
    status.size = (static_cast<std::int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    status.identity = {info.dwVolumeSerialNumber,
                       (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    return status;
  }

  bool Remove(const std::string& path) override {
    return RetriedWhileHeld(path, [&] { return DeleteFileW(WideFromText(path).c_str()); });
  }

  // Never copies between drives: a copy that replaces a file must be
  // made whole beside it first, which CopyFileReplacing does.
  bool Rename(const std::string& from, const std::string& to, bool replace) override {
    return RetriedWhileHeld(from, [&] {
      return MoveFileExW(WideFromText(from).c_str(), WideFromText(to).c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0);
    });
  }

  bool CreateFolder(const std::string& path) override {
    return Succeeded(CreateDirectoryW(WideFromText(path).c_str(), nullptr));
  }

  bool RemoveFolder(const std::string& path) override { return Succeeded(RemoveDirectoryW(WideFromText(path).c_str())); }

  // Changes the mark of the link itself, never of what it points to.
  bool ClearReadOnly(const std::string& path) override {
    Handle handle(OpenForAttributes(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, false));
    FILE_BASIC_INFO info;
    if (!handle.IsOpen() || !GetFileInformationByHandleEx(handle.Get(), FileBasicInfo, &info, sizeof info))
      return Failed();
    if (!(info.FileAttributes & FILE_ATTRIBUTE_READONLY)) return false;
    info.FileAttributes &= ~FILE_ATTRIBUTE_READONLY;
    if (info.FileAttributes == 0) info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return Succeeded(SetFileInformationByHandle(handle.Get(), FileBasicInfo, &info, sizeof info));
  }

  bool SetHiddenOnly(const std::string& path) override {
    return Succeeded(SetFileAttributesW(WideFromText(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
  }

  std::vector<std::string> List(const std::string& folder) override {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    FolderSearch search(folder, data);
    if (!search.IsOpen()) {
      Failed();
      return names;
    }
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(TextFromWide(data.cFileName));
    } while (search.Next(data));
    return names;
  }

  std::int64_t FreeSpace(const std::string& path) override {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExW(WideFromText(path).c_str(), &available, nullptr, nullptr)) {
      Failed();
      return -1;
    }
    return static_cast<std::int64_t>(available.QuadPart);
  }
};
}  // namespace

FileSystem& SystemFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}

char PathSeparator() { return '\\'; }

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + PathSeparator() + name;
}

// The system itself finds a folder whatever the case of its name.
std::string FindFolderIgnoringCase(const std::string& parent, const std::string& name) {
  return JoinPath(parent, name);
}

// A character that the text's code page lacks comes back as '?', which no
// Windows name holds; a dot or a blank at the end is dropped by the system
// on the way to the disk, so such a name would reach another file.
bool NameSurvivesConversion(const std::string& name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  return name.find('?') == std::string::npos && TextFromWide(WideFromText(name)) == name;
}
