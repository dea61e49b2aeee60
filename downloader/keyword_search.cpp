#include "downloader/keyword_search.h"

#include "common/gbk_text.h"

namespace {
bool IsAsciiLetter(unsigned char byte) { return (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z'; }
}  // namespace

KeywordMatcher::KeywordMatcher(std::string_view keyword) : folded_(keyword), caseBits_(keyword.size(), '\0') {
  for (std::size_t pos = 0; pos < keyword.size(); pos += gbk::CharLength(keyword, pos)) {
    const unsigned char byte = static_cast<unsigned char>(keyword[pos]);
    if (!IsAsciiLetter(byte)) continue;
    caseBits_[pos] = 0x20;
    folded_[pos] = static_cast<char>(byte | 0x20);
  }
}

bool KeywordMatcher::MatchesAt(const char* at) const {
  for (std::size_t i = 1; i < folded_.size(); ++i)
    if ((at[i] | caseBits_[i]) != folded_[i]) return false;
  return true;
}

bool KeywordMatcher::FoundIn(std::string_view name) const {
  if (name.empty()) return false;
  if (folded_.empty()) return true;
  if (name.size() < folded_.size()) return false;
  const char first = folded_[0];
  const char firstCaseBit = caseBits_[0];
  const char* const data = name.data();
  const std::size_t lastStart = name.size() - folded_.size();
  std::size_t walked = 0;  // a known character start, never past the position tried
  for (std::size_t pos = 0; pos <= lastStart; ++pos) {
    if ((data[pos] | firstCaseBit) != first || !MatchesAt(data + pos)) continue;
    // A match found by bytes counts only where a character begins; the walk
    // runs on from where it stopped, so each name is walked once at most.
    while (walked < pos) walked += gbk::CharLength(name, walked);
    if (walked == pos) return true;
  }
  return false;
}

std::vector<std::size_t> NamesContaining(std::span<const std::string> names, std::string_view keyword) {
  const KeywordMatcher matcher(keyword);
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (matcher.FoundIn(names[i])) found.push_back(i);
  return found;
}
