#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "downloader/config_text.h"

namespace {
using namespace std::string_literals;
using Keys = std::vector<std::string>;

// GBK bytes: 韩国, and a character whose second byte is the letter "a".
const std::string kKorea = "\xBA\xAB\xB9\xFA";
const std::string kLetterTail = "\x81" "a";

struct Case {
  const char* what;
  std::string text, section;
  Keys keys;                          // what ParseConfigKeys lists
  std::string key;                    // looked up with FindConfigValue
  std::optional<std::string> value;   // what it finds
};

TEST(ConfigText, ReadsSectionsKeysAndValues) {
  const Case cases[] = {
      {"LF lines", "[lst_name]\n" + kKorea + "=kr\njp=jp\n", "lst_name", {kKorea, "jp"}, kKorea, "kr"},
      {"CR LF lines read the same", "[lst_name]\r\nkr=a\r\njp=b\r\n", "lst_name", {"kr", "jp"}, "jp", "b"},
      {"only the CR right before LF goes", "[a]\r\nk=v\r\r\n", "a", {"k"}, "k", "v\r"},
      {"a lone CR ends no line", "[a]\rk=1\n", "a", {}, "k", std::nullopt},
      {"a last line without LF counts", "[a]\nk=v", "a", {"k"}, "k", "v"},
      {"header in capitals", "[LST_NAME]\nk=v\n", "lst_name", {"k"}, "k", "v"},
      {"header in mixed case", "[Lst_Name]\nk=v\n", "LST_name", {"k"}, "k", "v"},
      {"header with a blank before it is no header", " [lst_name]\nk=v\n", "lst_name", {}, "k", std::nullopt},
      {"header with anything after it is no header", "[lst_name] \nk=v\n", "lst_name", {}, "k", std::nullopt},
      {"double-byte characters are not upper-cased", "[" + kLetterTail + "]\nk=1\n[\x81" "A]\nk=2\n",
       "\x81" "A", {"k"}, "k", "2"},
      {"section named in GBK", "[" + kKorea + "]\nk=v\n", kKorea, {"k"}, "k", "v"},
      {"lines before the header are ignored", "k=0\n[a]\nk=1\n", "a", {"k"}, "k", "1"},
      {"missing section", "[b]\nk=1\n", "a", {}, "k", std::nullopt},
      {"section ends at any bracketed line", "[a]\nk=1\n  [x=y]  \nj=2\n", "a", {"k"}, "j", std::nullopt},
      {"a bracket on one side ends nothing", "[a]\nk=1\n[b\nj=2\nc]\n", "a", {"k", "j"}, "j", "2"},
      {"first section of a name wins", "[a]\nk=1\n[A]\nk=2\nj=3\n", "a", {"k"}, "j", std::nullopt},
      {"blank lines and lines without = are ignored", "[a]\n\nnote\nk=1\n", "a", {"k"}, "k", "1"},
      {"blanks around the key go, around the value stay", "[a]\n  key  =  value  \n", "a", {"key"}, "key",
       "  value  "},
      {"blanks inside the key stay", "[a]\nmy key=v\n", "a", {"my key"}, "my key", "v"},
      {"the ideographic space is a blank", "[a]\n\xA1\xA1key\xA1\xA1=v\n", "a", {"key"}, "key", "v"},
      {"a tab is no blank", "[a]\n\tkey\t=v\n", "a", {"\tkey\t"}, "\tkey\t", "v"},
      {"key names match exactly", "[a]\nKey=v\n", "a", {"Key"}, "key", std::nullopt},
      {"duplicate keys: both listed, the first read", "[a]\nk=1\nk=2\n", "a", {"k", "k"}, "k", "1"},
      {"an empty key is listed", "[a]\n=v\n  =w\n", "a", {"", ""}, "", "v"},
      {"a value holding = is skipped", "[kr]\nfile=http://x/?a=b\n", "kr", {"file"}, "file", std::nullopt},
      {"a later line of the key then counts", "[kr]\nfile=a=b\nfile=c\n", "kr", {"file", "file"}, "file", "c"},
      {"nothing after the key but two =", "[kr]\nfile==\n", "kr", {"file"}, "file", ""},
      {"one = with nothing after it is skipped", "[kr]\nfile=\nfile=x\n", "kr", {"file", "file"}, "file", "x"},
      {"a trailing = still makes two pieces", "[kr]\nfile=v=\n", "kr", {"file"}, "file", "v"},
      {"a NUL byte ends the text", "[a]\nk=12\0 3\nj=2\n"s, "a", {"k"}, "k", "12"},
      {"what follows a NUL byte is hidden", "[a]\nk=1\n\0j=2\n"s, "a", {"k"}, "j", std::nullopt},
      {"a 0x1A byte ends the text", "[a]\nk=1\x1Aj=2\n", "a", {"k"}, "k", "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ParseConfigKeys(c.text, c.section), c.keys);
    EXPECT_EQ(FindConfigValue(c.text, c.section, c.key), c.value);
  }
}
}  // namespace
