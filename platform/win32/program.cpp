#include "program.h"

#include <windows.h>

#include "native_text.h"

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
  return split(TextFromWide(GetCommandLineW()));
}
