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
