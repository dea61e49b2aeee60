#include "platform/posix/native_text.h"

#include <iconv.h>

#include <cerrno>

namespace {
std::string Convert(std::string_view input, const char* to, const char* from) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::string(input);
  std::string output;
  char buffer[4096];
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t rc = iconv(converter, &in, &inLeft, &out, &outLeft);
    output.append(buffer, out - buffer);
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG && inLeft > 0) {
      output.push_back(*in);  // not convertible: keep the byte as it is
      ++in;
      --inLeft;
    }
  }
  iconv_close(converter);
  return output;
}

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}
}  // namespace

std::string Utf8FromText(std::string_view text) {
  return IsAscii(text) ? std::string(text) : Convert(text, "UTF-8", "GB18030");
}

std::string TextFromUtf8(std::string_view utf8) {
  return IsAscii(utf8) ? std::string(utf8) : Convert(utf8, "GB18030", "UTF-8");
}
