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
#include <span>
#include <string>
#include <string_view>
#include <vector>

class KeywordMatcher {
 public:
  explicit KeywordMatcher(std::string_view keyword);
  bool FoundIn(std::string_view name) const;

 private:
  bool MatchesAt(const char* at) const;

  std::string folded_;  // the keyword with its letters in lower case
  std::string caseBits_;  // 0x20 where a byte is a letter, which matches either case
};

// Positions in `names` of the names that contain `keyword`, in list order.
std::vector<std::size_t> NamesContaining(std::span<const std::string> names, std::string_view keyword);
