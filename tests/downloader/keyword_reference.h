#pragma once
// The keyword rule written the slow, plain way, to check the fast search
// against: try every character start of the name, compare character by
// character, a single-byte letter of the keyword in either case.
#include <string_view>

#include "common/gbk_text.h"

inline char LowerAsciiLetter(char byte) { return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32) : byte; }

inline bool KeywordAt(std::string_view name, std::size_t start, std::string_view keyword) {
  if (keyword.size() > name.size() - start) return false;
  for (std::size_t pos = 0; pos < keyword.size(); pos += gbk::CharLength(keyword, pos)) {
    const bool same = gbk::CharLength(keyword, pos) == 1
                          ? LowerAsciiLetter(name[start + pos]) == LowerAsciiLetter(keyword[pos])
                          : name.substr(start + pos, 2) == keyword.substr(pos, 2);
    if (!same) return false;
  }
  return true;
}

inline bool ReferenceContains(std::string_view name, std::string_view keyword) {
  for (std::size_t start = 0; start < name.size(); start += gbk::CharLength(name, start))
    if (KeywordAt(name, start, keyword)) return true;
  return false;
}
