#include "platform/program.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/native_text.h"

std::string RunDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::size_t slash = path.rfind(L'\\');
  return TextFromWide(slash == std::wstring::npos ? path : path.substr(0, slash));
}

std::string SystemDirectoryForBarePaths() {
  UINT needed = GetWindowsDirectoryW(nullptr, 0);  // counts the closing zero
  std::wstring path(needed, L'\0');
  UINT length = needed == 0 ? 0 : GetWindowsDirectoryW(path.data(), needed);
  path.resize(length < needed ? length : 0);
  // Blanks around the answer are not part of the folder's name.
  const wchar_t* blanks = L" \x3000";
  std::size_t first = path.find_first_not_of(blanks);
  if (first == std::wstring::npos) return std::string();
  return TextFromWide(path.substr(first, path.find_last_not_of(blanks) - first + 1));
}

std::vector<std::string> ProgramArguments(int, char**, CommandLineSplitter split) {
  if (split) return split(TextFromWide(GetCommandLineW()));
  // No rule of the program's own: the system's usual one.
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; words && i < count; ++i) arguments.push_back(TextFromWide(words[i]));
  LocalFree(words);
  return arguments;
}
