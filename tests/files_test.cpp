// The file services where a slip would lose data.
#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "platform/files.h"
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
}  // namespace
