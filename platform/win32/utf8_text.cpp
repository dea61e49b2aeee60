#include "platform/utf8_text.h"

#include <windows.h>

#include "platform/win32/native_text.h"

std::string TextFromUtf8Source(std::u8string_view source) {
  if (source.empty()) return {};
  const char* bytes = reinterpret_cast<const char*>(source.data());
  int length = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(source.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(source.size()), wide.data(), length);
  return TextFromWide(wide);
}
