#include "platform/console.h"

#include <windows.h>

#include "platform/win32/native_text.h"

namespace {
void WriteTo(HANDLE out, std::string_view text) {
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(out, &mode)) {
    // A real console shows wide text right whatever its code page.
    std::wstring wide = WideFromText(text);
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    // Redirected output carries the GBK bytes unchanged.
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}
}  // namespace

void WriteConsoleText(std::string_view text) { WriteTo(GetStdHandle(STD_OUTPUT_HANDLE), text); }
void WriteErrorText(std::string_view text) { WriteTo(GetStdHandle(STD_ERROR_HANDLE), text); }

bool ErrorIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void SetConsoleTitleText(std::string_view title) { SetConsoleTitleW(WideFromText(title).c_str()); }

void PauseMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }
