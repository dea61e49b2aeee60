#include "downloader/keyword_search.h"

#include <bit>
#include <cstring>

#include "common/gbk_text.h"

namespace {
// Eight bytes of a name are tried at once; the first of them is the lowest
// byte of the word.
static_assert(std::endian::native == std::endian::little);
constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

std::uint64_t LoadWord(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// The high bit of the lowest zero byte of `word` (and perhaps of some above
// it); nothing when no byte is zero.
std::uint64_t ZeroBytes(std::uint64_t word) { return (word - kOnes) & ~word & kHighBits; }

bool IsAsciiLetter(unsigned char byte) { return (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z'; }

// Whether `pos` is where a character of `text` begins. A byte below 0x80
// always ends a character, whether it stands alone or follows a first byte,
// so the walk needs to start only after the last such byte before `pos`.
bool StartsCharacter(std::string_view text, std::size_t pos) {
  std::size_t walked = pos;
  while (walked > 0 && static_cast<unsigned char>(text[walked - 1]) >= 0x80) --walked;
  while (walked < pos) walked += gbk::CharLength(text, walked);
  return walked == pos;
}
}  // namespace

KeywordMatcher::KeywordMatcher(std::string_view keyword) : folded_(keyword), caseBits_(keyword.size(), '\0') {
  for (std::size_t pos = 0; pos < keyword.size(); pos += gbk::CharLength(keyword, pos)) {
    const unsigned char byte = static_cast<unsigned char>(keyword[pos]);
    if (!IsAsciiLetter(byte)) continue;
    caseBits_[pos] = 0x20;
    folded_[pos] = static_cast<char>(byte | 0x20);
  }
  auto spread = [](char byte) { return kOnes * static_cast<unsigned char>(byte); };
  if (!folded_.empty()) {
    firstCaseBits_ = spread(caseBits_[0]);
    first_ = spread(folded_[0]);
  }
  if (folded_.size() > 1) {
    secondCaseBits_ = spread(caseBits_[1]);
    second_ = spread(folded_[1]);
  }
}

std::size_t KeywordMatcher::NextCandidate(std::string_view name, std::size_t pos, std::size_t last) const {
  // Eight places at a time: a place whose byte and the byte after it equal
  // the keyword's first two gives a zero byte in `diff`. The word after the
  // last place is read only when the keyword has a second byte, so it lies
  // inside the name.
  for (; pos + 8 <= last; pos += 8) {
    const char* at = name.data() + pos;
    const std::uint64_t diff = ((LoadWord(at) | firstCaseBits_) ^ first_) | ((LoadWord(at + 1) | secondCaseBits_) ^ second_);
    const std::uint64_t zeros = ZeroBytes(diff);
    if (zeros != 0) return pos + static_cast<std::size_t>(std::countr_zero(zeros)) / 8;
  }
  for (; pos <= last; ++pos)
    if ((name[pos] | caseBits_[0]) == folded_[0]) break;
  return pos;
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
  const std::size_t last = name.size() - folded_.size();  // the last place a match can begin
  for (std::size_t pos = 0; (pos = NextCandidate(name, pos, last)) <= last; ++pos) {
    // A match found by bytes counts only where a character begins.
    if (MatchesAt(name.data() + pos) && StartsCharacter(name, pos)) return true;
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
