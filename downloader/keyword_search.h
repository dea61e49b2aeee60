#pragma once
// The keyword filter of the archive list: does a name contain the keyword?
//
// The keyword is a run of bytes anywhere in the name; ASCII letters match
// without regard to case, every other byte must be equal. A match begins only
// where a character begins, never on the second byte of a double-byte
// character, and a letter-like second byte of a double-byte character is not
// a letter: it is compared exactly, like the rest of its character.
// An empty keyword is in every name but the empty name; the empty name
// contains nothing.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class KeywordMatcher {
 public:
  explicit KeywordMatcher(std::string_view keyword);
  bool FoundIn(std::string_view name) const;

 private:
  // The first place from `pos` to `last` where the keyword's first bytes
  // stand, or last + 1; the place still needs MatchesAt.
  std::size_t NextCandidate(std::string_view name, std::size_t pos, std::size_t last) const;
  // Whether the keyword's bytes after its first stand at `at` + 1 onwards.
  bool MatchesAt(const char* at) const;

  std::string folded_;  // the keyword with its letters in lower case
  std::string caseBits_;  // 0x20 where a byte is a letter, which matches either case
  // The first two bytes of the keyword and their case bits in every byte of
  // a word; a keyword of one byte takes any second byte.
  std::uint64_t firstCaseBits_ = 0;
  std::uint64_t first_ = 0;
  std::uint64_t secondCaseBits_ = ~std::uint64_t{0};
  std::uint64_t second_ = ~std::uint64_t{0};
};

// Positions in `names` of the names that contain `keyword`, in list order.
std::vector<std::size_t> NamesContaining(std::span<const std::string> names, std::string_view keyword);
