#include <gtest/gtest.h>

#include "cleaner/package_list.h"
#include "common/hex_text.h"
#include "platform/files.h"
#include "platform/utf8_text.h"
#include "tests/cleaner/game_fixture.h"

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

// The file reader reads ahead; whatever the reads' places and sizes, it must
// give exactly the bytes a reader of the same bytes in memory gives, and
// nothing past the end.
TEST(FileSource, GivesWhatTheSameBytesInMemoryGive) {
  TestFolder folder;
  const Bytes bytes = Content(200000, 7);
  folder.Write("data", bytes);
  File file = File::Open(folder.File("data"), File::Mode::ReadShared);
  FileSource fromFile(file);
  MemorySource fromMemory(bytes);
  ASSERT_EQ(fromFile.Size(), fromMemory.Size());
  struct Read {
    std::int64_t offset;
    std::size_t size;
  };
  const std::int64_t k64 = 64 * 1024;
  const Read reads[] = {{0, 4},           {4, 100},         {k64 - 2, 4},     {k64 + 10, 8},  {3, 4},
                        {150000, 70000},  {k64 - 1, 2 * k64}, {199990, 4},      {199998, 100}, {199999, 1},
                        {120000, 10},     {0, 200000},      {100, 300000},    {5, 0}};
  for (const Read& read : reads) {
    SCOPED_TRACE(std::to_string(read.offset) + " " + std::to_string(read.size));
    Bytes a(read.size + 1, 0xAA), b(read.size + 1, 0xAA);
    EXPECT_EQ(fromFile.ReadAt(read.offset, a.data(), read.size), fromMemory.ReadAt(read.offset, b.data(), read.size));
    EXPECT_EQ(a, b);
  }
}

// A list large enough for many buffers of the reader, with records across
// their borders, reads from the game directory as it reads from memory.
TEST(PackageList, ReadsAGameDirectorysListAsFromMemory) {
  GameFixture game;
  std::vector<ListedFile> image, sound;
  for (int i = 0; i < 3000; ++i) {
    image.push_back({"sprite_" + std::string(i % 37, 'x') + std::to_string(i) + ".NPK", i, Sha256(Content(3, i))});
    if (i % 3 == 0) sound.push_back({"voice_" + std::to_string(i) + ".ogg", -i, Content(i % 40, i)});
  }
  const Bytes list = PackageList({{"SoundPacks", sound}, {"ImagePacks2", image}});
  ASSERT_GT(list.size(), 4u * 64 * 1024);
  game.WriteList({{"SoundPacks", sound}, {"ImagePacks2", image}});

  FolderTable table;
  ASSERT_EQ(ReadPackageFolders(game.Directory(), table), ListStatus::Read);
  EXPECT_EQ(table.names, TableOf(list).names);
  EXPECT_EQ(table.offsets, TableOf(list).offsets);
  for (std::size_t i = 0; i < table.names.size(); ++i) {
    SCOPED_TRACE(table.names[i]);
    const OfficialFiles expected = FilesAt(list, table.offsets[i]);
    OfficialFiles listed, read;
    EXPECT_EQ(ReadListedFolder(game.Directory(), table.names, table.offsets, table.names[i], listed), ListStatus::Read);
    EXPECT_EQ(ReadOfficialFiles(game.Directory(), table.names[i], read), ListStatus::Read);
    for (const OfficialFiles* files : {&listed, &read}) {
      EXPECT_EQ(files->names, expected.names);
      EXPECT_EQ(files->sizes, expected.sizes);
      EXPECT_EQ(files->digests, expected.digests);
    }
  }
  EXPECT_EQ(table.names.size(), 2u);
}

TEST(PackageList, EachReasonForNoFilesHasItsStatusAndMessage) {
  struct Case {
    const char* what;
    std::function<void(GameFixture&)> prepare;
    ListStatus status;
    std::u8string_view message;
  };
  const std::string list = "package.lst";
  const Case cases[] = {
      {"no list", [](GameFixture&) {}, ListStatus::ListMissing, u8"LST文件不存在..请重新再选!!"},
      {"a folder of the name",
       [&](GameFixture& game) { CreateFolder(JoinPath(game.Directory(), list)); },
       ListStatus::ListMissing, u8"LST文件不存在..请重新再选!!"},
      {"not a list",
       [&](GameFixture& game) { WriteWholeFile(JoinPath(game.Directory(), list), "LST? no", 7); },
       ListStatus::NotAList, u8"LST文件非DNF的文件列表文件..请重新选择!!"},
      {"folder not listed",
       [](GameFixture& game) { game.WriteList({{"SoundPacks", {}}, {"imagepacks2", {}}}); },
       ListStatus::FolderNotInList, u8"此LST文件不存在此目录!!"},
      {"listed", [](GameFixture& game) { game.WriteList({{"ImagePacks2", {{"a.NPK", 1, {}}}}}); },
       ListStatus::Read, u8""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameFixture game;
    c.prepare(game);
    OfficialFiles files;
    EXPECT_EQ(ReadOfficialFiles(game.Directory(), "ImagePacks2", files), c.status);
    EXPECT_EQ(files.names.size(), c.status == ListStatus::Read ? 1u : 0u);
    EXPECT_EQ(ListStatusText(c.status), TextFromUtf8Source(c.message));
  }
}

// The folder table was read when the game directory was chosen; a list
// gone since then leaves the folder without official files.
TEST(PackageList, AListGoneSinceItsTableWasReadGivesNoFiles) {
  GameFixture game;
  game.WriteList({{"ImagePacks2", {{"a.NPK", 1, {}}}}});
  FolderTable table;
  ASSERT_EQ(ReadPackageFolders(game.Directory(), table), ListStatus::Read);
  RemoveFile(JoinPath(game.Directory(), "package.lst"));
  OfficialFiles files;
  EXPECT_EQ(ReadListedFolder(game.Directory(), table.names, table.offsets, "ImagePacks2", files), ListStatus::Read);
  EXPECT_TRUE(files.names.empty());
  EXPECT_EQ(ReadListedFolder(game.Directory(), table.names, table.offsets, "SoundPacks", files),
            ListStatus::FolderNotInList);
}
}  // namespace
