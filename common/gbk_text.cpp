#include "common/gbk_text.h"

namespace gbk {

std::size_t CharLength(std::string_view text, std::size_t pos) {
  if (pos + 1 < text.size() && static_cast<unsigned char>(text[pos]) >= 0x80) return 2;
  return 1;
}

std::size_t FindChar(std::string_view text, char ch, std::size_t from) {
  return FindText(text, std::string_view(&ch, 1), from);
}

std::size_t FindLastChar(std::string_view text, char ch) {
  std::size_t found = npos;
  for (std::size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) {
    if (text[pos] == ch) found = pos;
  }
  return found;
}

std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= text.size() ? from : npos;
  std::size_t pos = 0;
  while (pos < from && pos < text.size()) pos += CharLength(text, pos);
  for (; pos < text.size(); pos += CharLength(text, pos)) {
    if (text.substr(pos, needle.size()) == needle) return pos;
  }
  return npos;
}

std::string Mid(std::string_view text, long long start, long long length) {
  if (start < 1 || start > static_cast<long long>(text.size()) || length <= 0) return {};
  return std::string(text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
}

}  // namespace gbk
