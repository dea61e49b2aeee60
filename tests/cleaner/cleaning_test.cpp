#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "platform/files.h"
#include "tests/cleaner/page_fixture.h"
#include "tests/faulty_file_system.h"
#include "platform/utf8_text.h"

namespace {
using namespace control;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

// A scan that finds three unofficial files, ready to be cleaned.
class CleaningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"p1.NPK", "p2.NPK", "p3.NPK"}) page.game.AddFile("ImagePacks2", name, Content(50, name[1]));
    page.game.WriteList({{"ImagePacks2", {page.game.AddFile("ImagePacks2", "official.NPK", Content(9, 1))}}});
    page.ChooseGameDirectory(page.game.Directory());
    page.Scan();
    ASSERT_EQ(page.window.RowCount(超级列表框_扫描结果), 3);
  }
  int RowOf(const std::string& name) const {
    for (int row = 0; row < page.window.RowCount(超级列表框_扫描结果); ++row)
      if (page.window.Cell(超级列表框_扫描结果, row, 0) == name) return row;
    return -1;
  }
  void Tick(const std::string& name) { page.window.ClickRowCheck(超级列表框_扫描结果, RowOf(name)); }
  void ChooseBackup(const std::string& folder) {
    page.window.folderAnswers.push_back(folder);
    page.window.Click(按钮_备份目录);
  }
  void Clean() { page.window.Click(按钮_清理文件); }

  PageFixture page;
  TestFolder backup;
};

TEST_F(CleaningTest, DeletesTheTickedFilesAndDropsTheirRows) {
  Tick("p1.NPK");
  Tick("p3.NPK");
  Clean();
  EXPECT_FALSE(page.game.Has("ImagePacks2", "p1.NPK"));
  EXPECT_TRUE(page.game.Has("ImagePacks2", "p2.NPK"));
  EXPECT_FALSE(page.game.Has("ImagePacks2", "p3.NPK"));
  EXPECT_EQ(page.Rows(), (std::vector<ResultRow>{{"p2.NPK", "ImagePacks2", T(u8"非官方文件")}}));
  EXPECT_EQ(page.LastMessage().text, T(u8"清理完毕!"));
  EXPECT_EQ(page.LastMessage().title, T(u8"恭喜!"));
  EXPECT_EQ(page.LastMessage().style, 64);
}

TEST_F(CleaningTest, MovesTheTickedFilesIntoTheBackupFolderReplacingNamesakes) {
  backup.Write("p2.NPK", std::string("an older backup"));
  ChooseBackup(backup.Path());
  EXPECT_EQ(page.window.Text(编辑框_备份目录), backup.Path());
  EXPECT_TRUE(page.window.IsChecked(选择框_备份到目录));
  EXPECT_EQ(page.window.folderPrompts.back(), T(u8"请选择保存清理出补丁的位置.."));
  Tick("p2.NPK");
  Tick("p1.NPK");
  Clean();
  EXPECT_EQ(backup.Read("p2.NPK"), Content(50, '2'));
  EXPECT_EQ(backup.Read("p1.NPK"), Content(50, '1'));
  EXPECT_FALSE(page.game.Has("ImagePacks2", "p2.NPK"));
  EXPECT_FALSE(page.game.Has("ImagePacks2", "p1.NPK"));
  EXPECT_EQ(page.window.RowCount(超级列表框_扫描结果), 1);
  EXPECT_EQ(page.LastMessage().style, 4160);
}

TEST_F(CleaningTest, TellsWhenThereIsNothingToClean) {
  Clean();
  EXPECT_EQ(page.LastMessage().text, T(u8"请选择需要清理的补丁再试!"));
  EXPECT_EQ(page.LastMessage().style, 4160);
  page.window.RemoveAllRows(超级列表框_扫描结果);
  Clean();
  EXPECT_EQ(page.LastMessage().text, T(u8"没发现补丁文件..无需清理!"));
  EXPECT_EQ(page.LastMessage().title, T(u8"提示"));
  EXPECT_EQ(page.LastMessage().style, 4160);
}

TEST_F(CleaningTest, FilesAlreadyGoneOrReadOnlyLoseTheirRowsQuietly) {
  RemoveFile(JoinPath(page.game.FolderPath("ImagePacks2"), "p1.NPK"));
  std::filesystem::permissions(JoinPath(page.game.FolderPath("ImagePacks2"), "p2.NPK"), std::filesystem::perms::owner_read);
  Tick("p1.NPK");
  Tick("p2.NPK");
  const std::size_t boxes = page.window.messages.size();
  Clean();
  EXPECT_EQ(page.window.messages.size(), boxes + 1);
  EXPECT_EQ(page.LastMessage().text, T(u8"清理完毕!"));
  EXPECT_EQ(page.window.RowCount(超级列表框_扫描结果), 1);
  EXPECT_FALSE(page.game.Has("ImagePacks2", "p2.NPK"));  // read-only, and still a patch the user chose
}

TEST_F(CleaningTest, AFileInUseKeepsItsRowAndIsNotCalledCleaned) {
  // Another program holds p2.NPK: it can be neither removed nor renamed.
  const std::string held = JoinPath(page.game.FolderPath("ImagePacks2"), "p2.NPK");
  FaultyFileSystem faults;
  faults.RefuseRemove(held, FileError::InUse);
  faults.RefuseRename(held, FileError::InUse);
  ScopedFileSystem use(faults);
  for (bool backingUp : {false, true}) {
    SCOPED_TRACE(backingUp ? "backing up" : "deleting");
    if (backingUp) ChooseBackup(backup.Path());
    page.window.SetChecked(选择框_全选, false);
    page.window.Click(选择框_全选);  // ticks every row, p2.NPK too
    Clean();
    ASSERT_EQ(page.window.RowCount(超级列表框_扫描结果), 1);
    EXPECT_EQ(page.window.Cell(超级列表框_扫描结果, 0, 0), "p2.NPK");
    EXPECT_TRUE(page.game.Has("ImagePacks2", "p2.NPK"));
    EXPECT_EQ(ReadWholeFile(held), Content(50, '2'));
    EXPECT_EQ(page.LastMessage().text, T(u8"有 1 个文件无法清理(可能正在使用)..已保留在列表中!"));
    EXPECT_EQ(page.LastMessage().title, T(u8"警告!"));
    EXPECT_EQ(page.LastMessage().style, 48);
  }
  EXPECT_EQ(backup.Read("p2.NPK"), Content(50, '2'));  // the copy made before the source refused to go
}

// Whether this system refuses to remove a file that another handle holds
// open without sharing its deletion (Windows does; Linux never does).
bool RemovalOfOpenFilesIsRefused(const TestFolder& scratch) {
  scratch.Write("probe", "x");
  File held = File::Open(scratch.File("probe"), File::Mode::ReadWriteShared);
  return !RemoveFile(scratch.File("probe"));
}

TEST_F(CleaningTest, AFileAnotherProgramHoldsOpenStays) {
  TestFolder scratch;
  if (!RemovalOfOpenFilesIsRefused(scratch)) GTEST_SKIP() << "this system removes files in use";
  File held = File::Open(JoinPath(page.game.FolderPath("ImagePacks2"), "p2.NPK"), File::Mode::ReadWriteShared);
  Tick("p2.NPK");
  Clean();
  EXPECT_TRUE(page.game.Has("ImagePacks2", "p2.NPK"));
  EXPECT_EQ(page.window.RowCount(超级列表框_扫描结果), 3);
  EXPECT_EQ(page.LastMessage().style, 48);
}

TEST_F(CleaningTest, ABackupThatFillsTheDiskKeepsTheEarlierBackupAndTheSource) {
  backup.Write("p1.NPK", std::string("an older backup"));
  ChooseBackup(backup.Path());
  FaultyFileSystem faults;
  // Another drive: the rename fails, and the copy finds room for 20 bytes.
  faults.RefuseRename(JoinPath(page.game.FolderPath("ImagePacks2"), "p1.NPK"));
  faults.FillDiskAfter(20, backup.Path());
  ScopedFileSystem use(faults);
  Tick("p1.NPK");
  Clean();
  const std::string older = "an older backup";
  EXPECT_EQ(backup.Read("p1.NPK"), Bytes(older.begin(), older.end()));
  EXPECT_EQ(ReadWholeFile(JoinPath(page.game.FolderPath("ImagePacks2"), "p1.NPK")), Content(50, '1'));
  EXPECT_EQ(ListFileNames(backup.Path()), std::vector<std::string>{"p1.NPK"});  // no half copy left behind
  EXPECT_EQ(page.window.RowCount(超级列表框_扫描结果), 3);
  EXPECT_EQ(page.LastMessage().text, T(u8"有 1 个文件无法清理(可能正在使用)..已保留在列表中!"));
}

TEST_F(CleaningTest, ARefusedRenameIsCopiedWholeAndTheSourceRemoved) {
  ChooseBackup(backup.Path());
  FaultyFileSystem faults;
  faults.RefuseRename(JoinPath(page.game.FolderPath("ImagePacks2"), "p3.NPK"));
  ScopedFileSystem use(faults);
  Tick("p3.NPK");
  Clean();
  EXPECT_EQ(backup.Read("p3.NPK"), Content(50, '3'));
  EXPECT_FALSE(page.game.Has("ImagePacks2", "p3.NPK"));
  EXPECT_EQ(page.LastMessage().text, T(u8"清理完毕!"));
}

TEST_F(CleaningTest, ABackupFolderThatIsTheScannedFolderIsRefused) {
  const std::string scanned = page.game.FolderPath("ImagePacks2");
  const std::string sep(1, PathSeparator());
  std::vector<std::string> spellings = {scanned, scanned + sep, scanned + sep + ".",
                                        JoinPath(JoinPath(scanned, ".."), "ImagePacks2")};
  std::error_code error;
  std::filesystem::create_directory_symlink(scanned, backup.File("link"), error);
  if (!error) spellings.push_back(backup.File("link"));
  for (const std::string& spelling : spellings) {
    SCOPED_TRACE(spelling);
    ChooseBackup(spelling);
    page.window.SetChecked(选择框_全选, false);
    page.window.Click(选择框_全选);
    Clean();
    EXPECT_EQ(page.LastMessage().text, T(u8"备份目录不能是扫描的补丁目录..请重新选择备份目录!"));
    EXPECT_EQ(page.LastMessage().title, T(u8"警告!"));
    EXPECT_EQ(page.LastMessage().style, 16);
    EXPECT_EQ(page.window.RowCount(超级列表框_扫描结果), 3);
    for (char n : {'1', '2', '3'})
      EXPECT_EQ(ReadWholeFile(JoinPath(scanned, std::string("p") + n + ".NPK")), Content(50, n));
  }
}

TEST_F(CleaningTest, ABackupWithoutAChosenFolderIsRefused) {
  page.window.Click(选择框_备份到目录);  // ticked by hand, no folder chosen
  Tick("p1.NPK");
  Clean();
  EXPECT_TRUE(page.game.Has("ImagePacks2", "p1.NPK"));
  EXPECT_EQ(page.window.RowCount(超级列表框_扫描结果), 3);
  EXPECT_EQ(page.LastMessage().title, T(u8"警告!"));
  EXPECT_EQ(page.LastMessage().style, 16);

  ChooseBackup(backup.Path());
  page.window.Click(按钮_备份目录);  // cancelled: the folder is forgotten, the box stays ticked
  EXPECT_EQ(page.LastMessage().text, T(u8"请选择目录后再试!"));
  EXPECT_EQ(page.window.Text(编辑框_备份目录), backup.Path());
  EXPECT_TRUE(page.window.IsChecked(选择框_备份到目录));
  Clean();
  EXPECT_TRUE(page.game.Has("ImagePacks2", "p1.NPK"));
}

TEST_F(CleaningTest, OnlyTheScannedDirectoryIsTouchedAfterChoosingAnother) {
  GameFixture other;
  other.AddFile("ImagePacks2", "p1.NPK", Content(5, 5));
  other.WriteList({{"ImagePacks2", {}}});
  page.ChooseGameDirectory(other.Directory());
  Tick("p1.NPK");
  Clean();
  EXPECT_TRUE(other.Has("ImagePacks2", "p1.NPK"));
  EXPECT_FALSE(page.game.Has("ImagePacks2", "p1.NPK"));

  page.window.Click(按钮_选择游戏目录);  // cancelled: the game directory is now empty
  Tick("p2.NPK");
  Clean();
  EXPECT_FALSE(page.game.Has("ImagePacks2", "p2.NPK"));
}

TEST_F(CleaningTest, SelectAllTicksTheRowsThereAre) {
  page.window.Click(选择框_全选);
  for (int row = 0; row < 3; ++row) EXPECT_TRUE(page.window.IsRowChecked(超级列表框_扫描结果, row));
  page.window.ClickRowCheck(超级列表框_扫描结果, 1);
  EXPECT_TRUE(page.window.IsChecked(选择框_全选));  // single rows never change the box
  page.Scan();  // the box keeps its state; new rows start unticked
  EXPECT_TRUE(page.window.IsChecked(选择框_全选));
  EXPECT_FALSE(page.window.IsRowChecked(超级列表框_扫描结果, 0));
  page.window.Click(选择框_全选);
  page.window.Click(选择框_全选);
  for (int row = 0; row < 3; ++row) EXPECT_TRUE(page.window.IsRowChecked(超级列表框_扫描结果, row));
  page.window.Click(选择框_全选);
  for (int row = 0; row < 3; ++row) EXPECT_FALSE(page.window.IsRowChecked(超级列表框_扫描结果, row));

  page.window.RemoveAllRows(超级列表框_扫描结果);
  page.window.Click(选择框_全选);
  EXPECT_FALSE(page.window.IsChecked(选择框_全选));
}
}  // namespace
