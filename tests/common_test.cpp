#include <gtest/gtest.h>

#include "common/binary_reader.h"
#include "common/digest.h"
#include "common/gbk_text.h"
#include "common/hex_text.h"
#include "tests/test_folder.h"

namespace {
std::vector<std::uint8_t> BytesOf(const std::string& text) { return {text.begin(), text.end()}; }

TEST(HexText, FormatsEveryByteAsTwoUpperCaseDigits) {
  EXPECT_EQ(HexText({}), "");
  std::vector<std::uint8_t> bytes = {0x00, 0x01, 0xAB};
  EXPECT_EQ(HexText(bytes), "0001AB");
  bytes = {0x0A, 0xFF, 0x00};
  EXPECT_EQ(HexText(bytes), "0AFF00");
}

struct DigestCase {
  std::int16_t number;
  const char* input;
  const char* expected;  // nullptr: the number names no algorithm
  bool optional;         // the platform may lack it; then the text is empty
};

const DigestCase kDigestCases[] = {
    {0, "abc", "900150983CD24FB0D6963F7D28E17F72", false},
    {1, "abc", "900150983CD24FB0D6963F7D28E17F72", false},
    {2, "abc", "DA853B0D3F88D99B30283A69E6DED6BB", true},
    {3, "abc", "A448017AAF21D8525FC10AE87AA6729D", true},
    {4, "abc", "A9993E364706816ABA3E25717850C26C9CD0D89D", false},
    {5, "abc", "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD", false},
    {5, "", "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855", false},
    {6, "abc",
     "CB00753F45A35E8BB5A03D699AC65007272C32AB0EDED1631A8B605A43FF5BED8086072BA1E7CC2358BAECA134C825A7", false},
    {7, "abc",
     "DDAF35A193617ABACC417349AE20413112E6FA4E89A97EA20A9EEEE64B55D39A2192992A274FC1A836BA3C23A3FEEBBD"
     "454D4423643CE80E2A9AC94FA54CA49F",
     false},
    {8, "abc", nullptr, false},
    {-1, "abc", nullptr, false},
    {32767, "abc", nullptr, false},
};

TEST(DigestText, MatchesKnownDigestsForEveryNumber) {
  for (const DigestCase& c : kDigestCases) {
    SCOPED_TRACE(c.number);
    std::string text = DigestText(BytesOf(c.input), c.number);
    if (!c.expected) {
      EXPECT_EQ(text, "");
    } else if (c.optional && text.empty()) {
      SUCCEED() << "algorithm " << c.number << " not offered by this platform";
    } else {
      EXPECT_EQ(text, c.expected);
    }
  }
}

TEST(DigestText, PiecesGiveTheSameTextAsOneCall) {
  std::vector<std::uint8_t> data(3 * 1000 * 1000 + 17);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 31 + (i >> 9));
  DigestTextBuilder builder(kSha256);
  for (std::size_t at = 0; at < data.size(); at += 65537)
    builder.Update(data.data() + at, std::min<std::size_t>(65537, data.size() - at));
  EXPECT_EQ(builder.Finish(), DigestText(data, kSha256));

  TestFolder folder;
  folder.Write("data.bin", data);
  EXPECT_EQ(FileDigestText(folder.File("data.bin"), kSha256), DigestText(data, kSha256));
  EXPECT_EQ(FileDigestText(folder.File("missing.bin"), kSha256), DigestText({}, kSha256));
}

TEST(GbkText, WalksDoubleByteCharactersWhole) {
  // 淺 is 9C 5C in GBK: its second byte is a backslash.
  const std::string path = "D:\\\x9C\x5C\\a\x9C\x5C.spk";
  EXPECT_EQ(gbk::FindLastChar(path, '\\'), 5u);
  EXPECT_EQ(gbk::FindLastChar("\x9C\x5C", '\\'), gbk::npos);
  EXPECT_EQ(gbk::FindChar("\xB0\x5B[", '['), 2u);
  // The first bracket is the second byte of B0 5B, so the match is the second header.
  EXPECT_EQ(gbk::FindText("x\xB0[ImagePacks2][ImagePacks2]", "[ImagePacks2]"), 15u);
  EXPECT_EQ(gbk::FindText("[a][a]", "[a]", 1), 3u);
  // A lead byte at the very end stands alone.
  EXPECT_EQ(gbk::FindLastChar("a\\\x9C", '\\'), 1u);
}

TEST(GbkText, MidFollowsTheSubstringRule) {
  EXPECT_EQ(gbk::Mid("abcdef", 2, 3), "bcd");
  EXPECT_EQ(gbk::Mid("abcdef", 0, 3), "");
  EXPECT_EQ(gbk::Mid("abcdef", 7, 1), "");
  EXPECT_EQ(gbk::Mid("abcdef", 3, 0), "");
  EXPECT_EQ(gbk::Mid("abcdef", 3, -2), "");
  EXPECT_EQ(gbk::Mid("abcdef", 5, 100), "ef");
}

TEST(BinaryReader, ReadsStopAtTheEndAndZeroFillIntegers) {
  const std::vector<std::uint8_t> bytes = {0x01, 0x02, 0x00, 0x00, 'a', 'b', 0, 'c', 0xFF, 0x7F};
  MemorySource source(bytes);
  BinaryReader reader(source);
  EXPECT_EQ(reader.ReadInt32(), 0x0201);
  EXPECT_EQ(reader.ReadText(4), "ab");
  EXPECT_EQ(reader.Position(), 8);
  EXPECT_EQ(reader.ReadInt32(), 0x7FFF);  // two bytes left; the missing high bytes are zero
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.ReadInt32(), 0);
  EXPECT_TRUE(reader.ReadBytes(1 << 30).empty());  // no allocation for bytes that are not there
}

TEST(BinaryReader, SkipsMayPassTheEndButNeverGoBack) {
  const std::vector<std::uint8_t> bytes(16, 0x11);
  MemorySource source(bytes);
  BinaryReader reader(source);
  reader.Skip(-5);
  EXPECT_EQ(reader.Position(), 0);
  reader.Skip(40);
  EXPECT_EQ(reader.Position(), 40);
  EXPECT_EQ(reader.ReadInt32(), 0);
  reader.Skip(INT64_MAX);
  EXPECT_EQ(reader.Position(), INT64_MAX);  // saturates instead of wrapping
  reader.MoveTo(12);
  EXPECT_EQ(reader.ReadBytes(100).size(), 4u);
}
}  // namespace
