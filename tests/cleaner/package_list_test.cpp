#include <gtest/gtest.h>

#include "tests/cleaner/game_fixture.h"
#include "common/hex_text.h"
#include "cleaner/package_list.h"

namespace {
using Names = std::vector<std::string>;

FolderTable TableOf(const Bytes& bytes, ListMark expected = ListMark::Valid) {
  MemorySource source(bytes);
  FolderTable table;
  EXPECT_EQ(ReadFolderTable(source, table), expected);
  return table;
}

OfficialFiles FilesAt(const Bytes& bytes, std::int64_t offset) {
  MemorySource source(bytes);
  OfficialFiles files;
  ReadFolderRecords(source, offset, files);
  return files;
}

TEST(PackageList, ReadsTheFolderTableAndEachFoldersRecords) {
  const Bytes digest = {0x0A, 0xFF, 0x00};
  const Bytes list = PackageList({{"ImagePacks2", {{"a.NPK", 10, digest}, {"b.NPK", -1, {}}}},
                                  {"SoundPacks", {{"c.ogg", 70000, Sha256({})}}},
                                  {"ImagePacks2", {}}});
  FolderTable table = TableOf(list);
  EXPECT_EQ(table.names, (Names{"ImagePacks2", "SoundPacks", "ImagePacks2"}));  // duplicates are kept
  ASSERT_EQ(table.offsets.size(), 3u);
  EXPECT_EQ(table.offsets[0], 40);

  OfficialFiles image = FilesAt(list, table.offsets[0]);
  EXPECT_EQ(image.names, (Names{"a.NPK", "b.NPK"}));
  EXPECT_EQ(image.sizes, (std::vector<std::int32_t>{10, -1}));
  EXPECT_EQ(image.digests, (Names{"0AFF00", ""}));
  OfficialFiles sound = FilesAt(list, table.offsets[1]);
  EXPECT_EQ(sound.digests, Names{HexText(Sha256({}))});
}

TEST(PackageList, RefusesAWrongMark) {
  for (const char* mark : {"lst\0", "LSX\0", "LSTX"}) {
    Bytes list = PackageList({{"ImagePacks2", {}}});
    std::copy(mark, mark + 4, list.begin() + 32);
    SCOPED_TRACE(mark);
    TableOf(list, ListMark::NotAList);
  }
  TableOf(Bytes(20, 0), ListMark::NotAList);  // too short to hold a mark
  TableOf({}, ListMark::NotAList);
}

TEST(PackageList, NameFieldsFollowTheirLengthRules) {
  Bytes list = PackageListHeader();
  AppendInt32(list, 0);  // a folder name length of 0 stands for 4
  AppendText(list, "Mus");
  list.push_back(0);
  AppendInt32(list, 2);
  AppendInt32(list, 0);  // a file name length of 0 is an empty name
  AppendInt32(list, 5);
  AppendInt32(list, 0);
  AppendInt32(list, 0);
  AppendInt32(list, 6);  // a zero byte inside a name ends its text; all six bytes are consumed
  AppendText(list, std::string("ab\0cd!", 6));
  AppendInt32(list, 9);
  AppendInt32(list, 0);
  AppendInt32(list, 1);
  list.push_back(0x7F);
  AppendInt32(list, 0);
  list.resize(list.size() + 8, 0);

  FolderTable table = TableOf(list);
  EXPECT_EQ(table.names, Names{"Mus"});
  OfficialFiles files = FilesAt(list, table.offsets[0]);
  EXPECT_EQ(files.names, (Names{"", "ab"}));
  EXPECT_EQ(files.sizes, (std::vector<std::int32_t>{5, 9}));
  EXPECT_EQ(files.digests, (Names{"", "7F"}));
}

TEST(PackageList, TheLastEightBytesNeverStartAFolderRecord) {
  const Bytes one = PackageList({{"ImagePacks2", {}}});  // ends with an 8-byte tail
  EXPECT_EQ(TableOf(one).names, Names{"ImagePacks2"});
  Bytes nine = one;
  nine.push_back(0);  // 9 bytes after the record: read as another (empty) folder
  EXPECT_EQ(TableOf(nine).names.size(), 2u);
  // 48 bytes or fewer with a valid mark: an empty table, and still a list.
  for (std::size_t size : {40, 44, 48}) {
    Bytes small = PackageListHeader();
    small.resize(size, 0x33);
    EXPECT_TRUE(TableOf(small).names.empty()) << size;
  }
}

TEST(PackageList, CorruptCountsAndLengthsStayInsideTheFile) {
  struct Case {
    const char* what;
    std::function<void(Bytes&)> corrupt;
  };
  const Case cases[] = {
      {"huge file count", [](Bytes& b) { b[40 + 4 + 11 + 3] = 0x7F; }},
      {"huge name length", [](Bytes& b) { b[40 + 4 + 11 + 4 + 3] = 0x7F; }},
      {"negative name length", [](Bytes& b) { b[40 + 4 + 11 + 4 + 3] = 0x80; }},
      {"huge folder name length", [](Bytes& b) { b[43] = 0x7F; }},
      {"negative folder name length", [](Bytes& b) { b[43] = 0xFF; }},
      {"cut short", [](Bytes& b) { b.resize(70); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes list = PackageList({{"ImagePacks2", {{"a.NPK", 10, Sha256({1})}, {"b.NPK", 20, Sha256({2})}}}});
    c.corrupt(list);
    FolderTable table = TableOf(list);
    EXPECT_LE(table.names.size(), list.size() / 12);  // every folder record takes room in the file
    for (std::int32_t offset : table.offsets) {
      OfficialFiles files = FilesAt(list, offset);
      EXPECT_LE(files.names.size(), list.size() / 4);
      std::size_t held = 0;
      for (const std::string& name : files.names) held += name.size();
      for (const std::string& digest : files.digests) held += digest.size() / 2;
      EXPECT_LE(held, list.size());
    }
  }
}
}  // namespace
