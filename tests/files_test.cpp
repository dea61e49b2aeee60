// The file services where a slip would lose data.
#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "platform/file_system.h"
#include "platform/files.h"
#include "tests/faulty_file_system.h"
#include "tests/test_folder.h"

namespace {
std::string Content(const TestFolder& folder, const std::string& name) {
  std::vector<std::uint8_t> bytes = folder.Read(name);
  return std::string(bytes.begin(), bytes.end());
}

TEST(Files, ACopyReplacesTheFileThereWholeAndLeavesTheSource) {
  TestFolder folder;
  folder.Write("source", std::string(300000, 's'));
  folder.Write("there", "old content");
  ASSERT_TRUE(CopyFileReplacing(folder.File("source"), folder.File("there")));
  EXPECT_EQ(Content(folder, "there"), std::string(300000, 's'));
  EXPECT_EQ(Content(folder, "source"), std::string(300000, 's'));
  EXPECT_EQ(ListFileNames(folder.Path()).size(), 2u);  // nothing left beside them
}

TEST(Files, ACopyOntoASecondNameOfTheSourceNeverEmptiesIt) {
  TestFolder folder;
  folder.Write("source", "the only copy");
  std::error_code error;
  std::filesystem::create_hard_link(folder.File("source"), folder.File("second name"), error);
  if (error) GTEST_SKIP() << "no hard links here: " << error.message();
  CopyFileReplacing(folder.File("source"), folder.File("second name"));
  EXPECT_EQ(Content(folder, "source"), "the only copy");
  EXPECT_EQ(Content(folder, "second name"), "the only copy");
}

TEST(Files, ARenameNeverReplaces) {
  TestFolder folder;
  folder.Write("from", "new");
  folder.Write("to", "old");
  EXPECT_FALSE(RenameFile(folder.File("from"), folder.File("to")));
  EXPECT_EQ(Content(folder, "from"), "new");
  EXPECT_EQ(Content(folder, "to"), "old");
  EXPECT_TRUE(RenameFile(folder.File("from"), folder.File("moved")));
  EXPECT_FALSE(FileExists(folder.File("from")));
  EXPECT_EQ(Content(folder, "moved"), "new");
}
TEST(Files, ACopyThatFillsTheDiskLeavesTheFileThereAsItWas) {
  TestFolder folder;
  folder.Write("source", std::string(3000000, 's'));  // more than one piece
  folder.Write("there", "old content");
  EXPECT_GT(FreeSpace(folder.Path()), 0);
  FaultyFileSystem faults;
  faults.FillDiskAfter(kFilePieceSize + 10, folder.Path());
  ScopedFileSystem use(faults);
  EXPECT_EQ(FreeSpace(folder.Path()), static_cast<std::int64_t>(kFilePieceSize + 10));
  EXPECT_FALSE(CopyFileReplacing(folder.File("source"), folder.File("there")));
  EXPECT_EQ(LastFileError(), FileError::DiskFull);
  EXPECT_EQ(FreeSpace(folder.Path()), 0);
  EXPECT_EQ(Content(folder, "there"), "old content");
  EXPECT_EQ(ListFileNames(folder.Path()).size(), 2u);  // the part copied is gone
}

TEST(Files, AFolderIsTheSameHoweverItsPathIsWritten) {
  TestFolder folder;
  ASSERT_TRUE(CreateFolder(folder.File("a")));
  ASSERT_TRUE(CreateFolder(folder.File("b")));
  const std::string a = folder.File("a"), sep(1, PathSeparator());
  EXPECT_TRUE(SameFolder(a, a));
  EXPECT_TRUE(SameFolder(a, a + sep));
  EXPECT_TRUE(SameFolder(a, JoinPath(a, ".")));
  EXPECT_TRUE(SameFolder(a, JoinPath(JoinPath(folder.File("b"), ".."), "a")));
  EXPECT_FALSE(SameFolder(a, folder.File("b")));
  EXPECT_FALSE(SameFolder(a, folder.File("missing")));
  EXPECT_FALSE(SameFolder(folder.File("missing"), folder.File("missing")));
}

TEST(Files, TextsThatAreNoNameOfTheSystemDoNotSurvive) {
  EXPECT_TRUE(NameSurvivesConversion("plain.NPK"));
  EXPECT_TRUE(NameSurvivesConversion("\xC4\xE3.NPK"));  // 你
  EXPECT_FALSE(NameSurvivesConversion("half\x81"));    // a lead byte with nothing after it
}

TEST(Files, AFileThatVanishesAfterTheListingIsMissingWhenRead) {
  TestFolder folder;
  folder.Write("here", "content");
  FaultyFileSystem faults;
  faults.Vanish(folder.File("here"));
  ScopedFileSystem use(faults);
  EXPECT_EQ(ListFileNames(folder.Path()), std::vector<std::string>{"here"});
  EXPECT_FALSE(File::Open(folder.File("here"), File::Mode::ReadShared).IsOpen());
  EXPECT_EQ(LastFileError(), FileError::NotFound);
  EXPECT_EQ(FileSize(folder.File("here")), -1);
}
}  // namespace
