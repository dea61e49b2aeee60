#include "platform/utf8_text.h"

#include "platform/posix/native_text.h"

std::string TextFromUtf8Source(std::u8string_view source) {
  return TextFromUtf8(std::string_view(reinterpret_cast<const char*>(source.data()), source.size()));
}
