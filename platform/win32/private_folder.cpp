#include "platform/private_folder.h"

#include <windows.h>

#include <string>

#include "platform/win32/native_text.h"

namespace {
// Removes a folder and all it holds. A link or junction inside is removed
// itself, never followed; marks that would refuse the removal are cleared.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      const bool folderEntry = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
      if (folderEntry && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) RemoveTree(path);
      else if (folderEntry) RemoveDirectoryW(path.c_str());
      else DeleteFileW(path.c_str());
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}
}  // namespace

PrivateFolder::PrivateFolder(const std::string& prefix) {
  wchar_t temp[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return;
  // A name no other run uses: this process's number and a count; a name
  // that exists already (someone else's) is never taken over.
  const std::wstring base = std::wstring(temp, length) + WideFromText(prefix) + std::to_wstring(GetCurrentProcessId());
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    const std::wstring candidate = base + L"-" + std::to_wstring(GetTickCount() + attempt);
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      path_ = TextFromWide(candidate);
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return;
  }
}

PrivateFolder::~PrivateFolder() {
  if (!path_.empty()) RemoveTree(WideFromText(path_));
}
