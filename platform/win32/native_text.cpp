#include "platform/win32/native_text.h"

#include <windows.h>

namespace {
// GB18030 holds every Unicode character; where the system lacks it (Wine 8
// does), GBK (936) still converts every text the programs themselves show.
UINT TextCodePage() {
  static const UINT codePage = IsValidCodePage(54936) ? 54936 : 936;
  return codePage;
}
}  // namespace

std::wstring WideFromText(std::string_view text) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(TextCodePage(), 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(TextCodePage(), 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string TextFromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  int length = WideCharToMultiByte(TextCodePage(), 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                   nullptr, nullptr);
  std::string text(length, '\0');
  WideCharToMultiByte(TextCodePage(), 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                      nullptr);
  return text;
}
