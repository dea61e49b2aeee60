#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "downloader/keyword_search.h"
#include "tests/downloader/keyword_reference.h"

namespace {
struct SearchCase {
  std::string name;
  std::string keyword;
  bool found;
};

TEST(KeywordSearch, FindsTheKeywordByTheNamesRules) {
  const SearchCase cases[] = {
      // ASCII letters in either case, anywhere in the name
      {"sprite_character_SwordMan_equipment.NPK", "swordman", true},
      {"sprite_character_swordman.npk", "NPK", true},
      {"sprite.NPK", "sprite.NPK", true},
      {"sprite.NPK", "sprite.NPKs", false},
      {"sprite.NPK", "sprites", false},
      // only letters ignore case: other bytes that differ by the same bit do not match
      {"a`b", "@", false},
      {"a@b", "`", false},
      {"x[y", "{", false},
      {"x_y", "\x7f", false},
      {"1\x11", "1\x31", false},
      // the empty keyword and the empty name
      {"a", "", true},
      {"", "", false},
      {"", "a", false},
      // never from the second byte of a double-byte character
      {"\xb0\x41", "a", false},
      {"\xb0\x41", "A", false},
      {"\xb0\x41" "BC", "abc", false},
      {"\xb0\x41" "BC" "aBc", "abc", true},
      {"\xb0\x41\x41", "a", true},
      {"\x81\x81\x41", "A", true},
      {"\x81\x81\x81\x41", "A", false},
      {"\xb0\xa1\xb0\xa1", "\xa1\xb0", false},
      // double-byte characters compare exactly, their second byte included
      {"x\xb0\x41.NPK", "\xb0\x41", true},
      {"x\xb0\x41.NPK", "\xb0\x61", false},
      {"\xb5\xd8\xcf\xc2\xb3\xc7.NPK", "\xcf\xc2\xb3\xc7.npk", true},
      {"a\x81", "\x81", true},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.name) + " / " + testing::PrintToString(c.keyword));
    EXPECT_EQ(KeywordMatcher(c.keyword).FoundIn(c.name), c.found);
    EXPECT_EQ(ReferenceContains(c.name, c.keyword), c.found);
  }
}

TEST(KeywordSearch, GivesTheMatchingNamesInListOrder) {
  const std::vector<std::string> names = {"b_sound.NPK", "", "a_SOUND.npk", "image.NPK", "", "sound"};
  EXPECT_EQ(NamesContaining(names, "Sound"), (std::vector<std::size_t>{0, 2, 5}));
  EXPECT_EQ(NamesContaining(names, ""), (std::vector<std::size_t>{0, 2, 3, 5}));
  EXPECT_TRUE(NamesContaining(names, "music").empty());
  EXPECT_TRUE(NamesContaining({}, "").empty());
}

// The fast search tries eight places at once by the keyword's first two
// bytes and walks the characters only where it found a match; on names full
// of double-byte characters and letter-like bytes, short and long, it must
// agree with the plain walk.
TEST(KeywordSearch, AgreesWithThePlainWalkOnMixedNames) {
  const char alphabet[] = {'a', 'A', 'b', 'B', '@', '`', '_', '\x7f', '\x81', '\xb0', '\xfe', '\x41', '\x61'};
  std::mt19937 random(20240611);
  auto text = [&](std::size_t most) {
    std::string out(std::uniform_int_distribution<std::size_t>(0, most)(random), '\0');
    for (char& byte : out) byte = alphabet[std::uniform_int_distribution<std::size_t>(0, sizeof alphabet - 1)(random)];
    return out;
  };
  int found = 0;
  for (int round = 0; round < 200000; ++round) {
    const std::string name = text(24);
    const std::string keyword = text(3);
    const bool expected = ReferenceContains(name, keyword);
    ASSERT_EQ(KeywordMatcher(keyword).FoundIn(name), expected)
        << testing::PrintToString(name) << " / " << testing::PrintToString(keyword);
    found += expected;
  }
  // Both outcomes must be common for the comparison to mean anything.
  EXPECT_GT(found, 20000);
  EXPECT_LT(found, 180000);
}

}  // namespace
