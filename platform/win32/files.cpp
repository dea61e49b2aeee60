#include "platform/files.h"

#include <windows.h>

#include "platform/file_error.h"
#include "platform/win32/native_text.h"

namespace {
HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD Attributes(const std::string& path) { return GetFileAttributesW(WideFromText(path).c_str()); }

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
}  // namespace

char PathSeparator() { return '\\'; }

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + PathSeparator() + name;
}

File File::Open(const std::string& path, Mode mode) {
  DWORD access = GENERIC_READ, share = FILE_SHARE_READ | FILE_SHARE_WRITE, disposition = OPEN_EXISTING;
  switch (mode) {
    case Mode::ReadShared: share |= FILE_SHARE_DELETE; break;
    case Mode::ReadWriteShared: access |= GENERIC_WRITE; break;
    case Mode::CreateNew: access = GENERIC_WRITE; share = 0; disposition = CREATE_NEW; break;
    case Mode::CreateOrEmpty: access = GENERIC_WRITE; share = 0; disposition = CREATE_ALWAYS; break;
  }
  HANDLE handle = CreateFileW(WideFromText(path).c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    Failed();
    return File();
  }
  return File(reinterpret_cast<std::intptr_t>(handle));
}

std::int64_t File::Size() const {
  LARGE_INTEGER size;
  if (!IsOpen() || !GetFileSizeEx(AsHandle(handle_), &size)) return -1;
  return size.QuadPart;
}

std::size_t File::Read(void* buffer, std::size_t size) {
  if (!IsOpen()) return 0;
  std::size_t total = 0;
  while (total < size) {
    DWORD want = size - total > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size - total);
    DWORD got = 0;
    if (!ReadFile(AsHandle(handle_), static_cast<char*>(buffer) + total, want, &got, nullptr)) Failed();
    if (got == 0) break;
    total += got;
  }
  return total;
}

bool File::Seek(std::int64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = offset;
  return IsOpen() && offset >= 0 && SetFilePointerEx(AsHandle(handle_), to, nullptr, FILE_BEGIN);
}

bool File::Write(const void* data, std::size_t size) {
  if (!IsOpen()) return false;
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    DWORD want = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD put = 0;
    if (!WriteFile(AsHandle(handle_), bytes, want, &put, nullptr) || put == 0) return Failed();
    bytes += put;
    size -= put;
  }
  return true;
}

void File::Close() {
  if (IsOpen()) CloseHandle(AsHandle(handle_));
  handle_ = -1;
}

bool FileExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::int64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(WideFromText(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool RemoveFile(const std::string& path) { return Succeeded(DeleteFileW(WideFromText(path).c_str())); }

bool ClearReadOnly(const std::string& path) {
  DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return SetFileAttributesW(WideFromText(path).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool RenameFile(const std::string& from, const std::string& to) {
  return Succeeded(MoveFileExW(WideFromText(from).c_str(), WideFromText(to).c_str(), MOVEFILE_COPY_ALLOWED));
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  return Succeeded(MoveFileExW(WideFromText(from).c_str(), WideFromText(to).c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED));
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
  return Succeeded(CopyFileW(WideFromText(from).c_str(), WideFromText(to).c_str(), FALSE));
}

bool CreateFolder(const std::string& path) { return Succeeded(CreateDirectoryW(WideFromText(path).c_str(), nullptr)); }

bool RemoveFolderWithFiles(const std::string& path) {
  for (const std::string& name : ListFileNames(path)) RemoveFile(JoinPath(path, name));
  return RemoveDirectoryW(WideFromText(path).c_str());
}

std::vector<std::string> ListFileNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(WideFromText(folder + "\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(TextFromWide(data.cFileName));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}
