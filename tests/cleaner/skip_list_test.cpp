#include <gtest/gtest.h>

#include "platform/files.h"
#include "cleaner/skip_list.h"
#include "tests/test_folder.h"

namespace {
using Names = std::vector<std::string>;

Names Parse(const std::string& text, const std::string& section = "ImagePacks2") {
  Names names;
  ParseSkipList(text, section, names);
  return names;
}

TEST(SkipList, ReadsTheNamesOfOneSection) {
  struct Case {
    const char* what;
    std::string text, section;
    Names expected;
  };
  const Case cases[] = {
      {"plain section", "[ImagePacks2]\r\na.NPK=1\r\nb.NPK=\r\n", "ImagePacks2", {"a.NPK", "b.NPK"}},
      {"the other section", "[ImagePacks2]\r\na.NPK=1\r\n[SoundPacks]\r\nc.ogg=1\r\n", "SoundPacks", {"c.ogg"}},
      {"only the other section is there", "[SoundPacks]\r\nc.ogg=1\r\n", "ImagePacks2", {}},
      {"header in other letter case", "[imagepacks2]\r\na.NPK=1\r\n", "ImagePacks2", {}},
      {"text after the header joins the first line", "[ImagePacks2]a.NPK=1\r\nb.NPK=1", "ImagePacks2",
       {"ePacks2]a.NPK", "b.NPK"}},
      {"a blank before = stays", "[ImagePacks2]\r\na.NPK =1\r\n", "ImagePacks2", {"a.NPK "}},
      {"lines without = or starting with it name nothing", "[ImagePacks2]\r\nnote\r\n=x\r\n\r\nd.NPK=\r\n", "ImagePacks2",
       {"d.NPK"}},
      {"a semicolon is part of the name", "[ImagePacks2]\r\n;e.NPK=1\r\n", "ImagePacks2", {";e.NPK"}},
      {"[ inside a name ends the section", "[ImagePacks2]\r\nf[1].NPK=1\r\ng.NPK=1\r\n", "ImagePacks2", {}},
      {"LF-only lines are one line", "[ImagePacks2]\na.NPK=1\nb.NPK=1\n", "ImagePacks2", {"ePacks2]\na.NPK"}},
      {"a name listed twice is taken twice", "[ImagePacks2]\r\na.NPK=1\r\na.NPK=2\r\n", "ImagePacks2",
       {"a.NPK", "a.NPK"}},
      {"only the first header counts", "[ImagePacks2]\r\na=1\r\n[SoundPacks]\r\n[ImagePacks2]\r\nb=1\r\n",
       "ImagePacks2", {"a"}},
      {"text ends at its first zero byte", std::string("[ImagePacks2]\r\na=1\r\n\0b=1\r\n", 24), "ImagePacks2", {"a"}},
      {"a last line without CR LF", "[ImagePacks2]\r\na=1", "ImagePacks2", {"a"}},
      // B0 5B is one character: its second byte is not a section's end.
      {"double-byte names", "[ImagePacks2]\r\n\xB0\x5B.NPK=1\r\n\xC4\xE3=1\r\n", "ImagePacks2",
       {"\xB0\x5B.NPK", "\xC4\xE3"}},
      {"a header inside a double-byte character is no header", "\x81[ImagePacks2]\r\na=1\r\n", "ImagePacks2", {}},
      // Lines split at every CR LF byte pair, also after a stray lead byte.
      {"a stray lead byte before a line end", "[ImagePacks2]\r\nnote\x81\r\nb.NPK=1\r\n", "ImagePacks2", {"b.NPK"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Parse(c.text, c.section), c.expected);
  }
}

TEST(SkipList, AppendsWithoutEmptyingAndTellsAMissingFile) {
  TestFolder folder;
  folder.Write("Skip_Npk.ini", std::string("[SoundPacks]\r\nx.ogg=1\r\n"));
  Names names = {"kept"};
  EXPECT_TRUE(ReadSkipList(folder.File("Skip_Npk.ini"), "SoundPacks", names));
  EXPECT_EQ(names, (Names{"kept", "x.ogg"}));
  EXPECT_TRUE(ReadSkipList(folder.File("Skip_Npk.ini"), "ImagePacks2", names));
  EXPECT_EQ(names.size(), 2u);
  EXPECT_FALSE(ReadSkipList(folder.File("missing.ini"), "SoundPacks", names));
  EXPECT_EQ(names.size(), 2u);
}
}  // namespace
