#include "platform/posix/native_text.h"

#include <iconv.h>

#include <cerrno>

namespace {
// Marks a byte of a name that is not UTF-8; GB18030 never uses it.
constexpr char kRawByte = '\xFF';

bool IsHighByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// What to do with the bytes at `in` that the converter refuses: append to
// `output` and return how many input bytes that took.
using RefusedBytes = std::size_t (*)(std::string_view in, std::string& output);

std::size_t MarkRawByte(std::string_view in, std::string& output) {
  output.push_back(kRawByte);
  output.push_back(in[0]);
  return 1;
}

std::size_t UnmarkRawByte(std::string_view in, std::string& output) {
  if (in.size() >= 2 && in[0] == kRawByte && IsHighByte(in[1])) {
    output.push_back(in[1]);
    return 2;
  }
  output.push_back(in[0]);  // not convertible: keep the byte as it is
  return 1;
}

class Converter {
 public:
  Converter(const char* to, const char* from) : converter_(iconv_open(to, from)) {}
  ~Converter() {
    if (IsOpen()) iconv_close(converter_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool IsOpen() const { return converter_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return converter_; }

 private:
  iconv_t converter_;
};

std::string Convert(std::string_view input, const char* to, const char* from, RefusedBytes refused) {
  Converter converter(to, from);
  if (!converter.IsOpen()) return std::string(input);
  std::string output;
  char buffer[4096];
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t rc = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
    output.append(buffer, out - buffer);
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG && inLeft > 0) {
      std::size_t taken = refused(std::string_view(in, inLeft), output);
      in += taken;
      inLeft -= taken;
    }
  }
  return output;
}

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (IsHighByte(c)) return false;
  return true;
}
}  // namespace

std::string Utf8FromText(std::string_view text) {
  return IsAscii(text) ? std::string(text) : Convert(text, "UTF-8", "GB18030", UnmarkRawByte);
}

std::string TextFromUtf8(std::string_view utf8) {
  return IsAscii(utf8) ? std::string(utf8) : Convert(utf8, "GB18030", "UTF-8", MarkRawByte);
}
