#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "tests/cleaner/page_fixture.h"
#include "platform/utf8_text.h"

namespace {
using namespace control;
using Expected = std::vector<std::pair<std::string, std::string>>;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }
const std::string kUnofficial = T(u8"非官方文件");
const std::string kSizeWrong = T(u8"文件大小错误");
const std::string kDigestWrong = T(u8"哈希校验码错误");

// A folder with one file of each kind that a scan tells apart.
class ScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    official = {
        page.game.AddFile("ImagePacks2", "good.NPK", Content(3000, 1)),
        page.game.AddFile("ImagePacks2", "Case.NPK", Content(10, 2)),
        page.game.AddFile("ImagePacks2", "resized.NPK", Content(100, 3)),
        page.game.AddFile("ImagePacks2", "altered.NPK", Content(100, 4)),
        page.game.AddFile("ImagePacks2", "last.NPK", Content(5, 5)),
    };
    RemoveFile(JoinPath(page.game.FolderPath("ImagePacks2"), "Case.NPK"));
    page.game.AddFile("ImagePacks2", "case.NPK", Content(10, 2));       // other letter case: not official
    page.game.AddFile("ImagePacks2", "resized.NPK", Content(101, 3));  // another size
    page.game.AddFile("ImagePacks2", "altered.NPK", Content(100, 9));  // same size, other bytes
    page.game.AddFile("ImagePacks2", "extra.NPK", Content(1, 6));
    CreateFolder(JoinPath(page.game.FolderPath("ImagePacks2"), "sub"));
    WriteWholeFile(JoinPath(page.game.FolderPath("ImagePacks2"), "sub/inner.NPK"), "x", 1);
    Relist();
  }
  void Relist() {
    page.game.WriteList({{"SoundPacks", {}}, {"ImagePacks2", official}});
    page.ChooseGameDirectory(page.game.Directory());
  }
  // A large official file to hash gives a scan time to let the window work.
  void AddLargeOfficialFile() {
    official.insert(official.begin(), page.game.AddFile("ImagePacks2", "big.NPK", Content(96 << 20, 8)));
    Relist();
  }
  PageFixture page;
  std::vector<ListedFile> official;
};

TEST_F(ScanTest, EachComparisonReportsItsVerdicts) {
  struct Case {
    const char* what;
    std::vector<Name> ticked;
    Expected rows;
  };
  const Case cases[] = {
      {"no comparison", {}, {{"case.NPK", kUnofficial}, {"extra.NPK", kUnofficial}}},
      {"sizes", {选择框_大小对比}, {{"case.NPK", kUnofficial}, {"extra.NPK", kUnofficial}, {"resized.NPK", kSizeWrong}}},
      {"digests",
       {选择框_哈希对比},
       {{"case.NPK", kUnofficial},
        {"extra.NPK", kUnofficial},
        {"resized.NPK", kDigestWrong},
        {"altered.NPK", kDigestWrong}}},
      // Clicks keep the two apart, but with both ticked the size is
      // compared first and a file of the wrong size is never hashed.
      {"both",
       {选择框_大小对比, 选择框_哈希对比},
       {{"case.NPK", kUnofficial},
        {"extra.NPK", kUnofficial},
        {"resized.NPK", kSizeWrong},
        {"altered.NPK", kDigestWrong}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    page.window.SetChecked(选择框_大小对比, false);
    page.window.SetChecked(选择框_哈希对比, false);
    for (Name box : c.ticked) page.window.SetChecked(box, true);
    page.Scan();
    EXPECT_EQ(page.Rows(), page.InFoundOrder("ImagePacks2", c.rows));  // folders and their files are never listed
    const HeadlessWindow::Message box = page.LastMessage();
    EXPECT_EQ(box.text, T(u8"发现 ") + std::to_string(c.rows.size()) + T(u8" 个补丁文件..请需要清理的文件!"));
    EXPECT_EQ(box.title, T(u8"提示"));
    EXPECT_EQ(box.style, 48);
    // The bar's range is the official table; it ends full.
    EXPECT_EQ(page.window.ProgressMaximum(进度条_扫描), 5);
    EXPECT_EQ(page.window.ProgressPosition(进度条_扫描), 5);
    for (int row = 0; row < page.window.RowCount(超级列表框_扫描结果); ++row)
      EXPECT_FALSE(page.window.IsRowChecked(超级列表框_扫描结果, row));
  }
}

TEST_F(ScanTest, TheComparisonBoxesExcludeEachOther) {
  page.window.Click(选择框_大小对比);
  page.window.Click(选择框_哈希对比);
  EXPECT_TRUE(page.window.IsChecked(选择框_哈希对比));
  EXPECT_FALSE(page.window.IsChecked(选择框_大小对比));
  page.window.Click(选择框_大小对比);
  EXPECT_TRUE(page.window.IsChecked(选择框_大小对比));
  EXPECT_FALSE(page.window.IsChecked(选择框_哈希对比));
  page.window.Click(选择框_大小对比);
  EXPECT_FALSE(page.window.IsChecked(选择框_大小对比));
  EXPECT_FALSE(page.window.IsChecked(选择框_哈希对比));
}

TEST_F(ScanTest, SkipNamesStandBeforeTheLastOfficialEntry) {
  // altered.NPK: an earlier official entry wins over the skip name, so its
  // digest is still compared. last.NPK: the skip name stands before the
  // official entry, so the altered file passes. extra.NPK passes; a name in
  // other letter case than on disk does not match; a missing file is harmless.
  page.game.AddFile("ImagePacks2", "last.NPK", Content(7, 7));
  page.WriteSkipList("[SoundPacks]\r\nextra.NPK=1\r\n[ImagePacks2]\r\naltered.NPK=1\r\nlast.NPK=1\r\nextra.NPK=1\r\n"
                     "CASE.NPK=1\r\nnowhere.NPK=1\r\n");
  page.window.Click(选择框_哈希对比);
  page.Scan();
  EXPECT_EQ(page.Rows(), page.InFoundOrder("ImagePacks2", {{"case.NPK", kUnofficial},
                                                           {"resized.NPK", kDigestWrong},
                                                           {"altered.NPK", kDigestWrong}}));
  const std::vector<std::string> table = {"good.NPK",  "Case.NPK", "resized.NPK", "altered.NPK", "altered.NPK",
                                          "last.NPK",  "extra.NPK", "CASE.NPK",   "nowhere.NPK", "last.NPK"};
  EXPECT_EQ(page.state.PackageIndex.FileNames, table);
  EXPECT_EQ(page.state.PackageIndex.FileSizes[8], -1);
  EXPECT_EQ(page.state.PackageIndex.FileSizes[5], 7);
  EXPECT_EQ(page.window.ProgressMaximum(进度条_扫描), 10);
}

TEST_F(ScanTest, AFolderWithoutOfficialFilesTakesNoSkipNames) {
  page.game.AddFile("SoundPacks", "voice.ogg", Content(4, 1));
  page.WriteSkipList("[SoundPacks]\r\nvoice.ogg=1\r\n");
  page.Scan(std::string(单选框_SP));
  EXPECT_EQ(page.Rows(), (std::vector<ResultRow>{{"voice.ogg", "SoundPacks", kUnofficial}}));
  EXPECT_TRUE(page.state.PackageIndex.FileNames.empty());
}

TEST_F(ScanTest, ControlsDuringAndAfterAScan) {
  AddLargeOfficialFile();
  page.window.Click(选择框_哈希对比);
  bool sawScanning = false;
  page.window.onWaitingMessages = [&] {
    sawScanning = true;
    EXPECT_FALSE(page.window.IsUsable(按钮_开始扫描));
    EXPECT_EQ(page.window.Text(按钮_开始扫描), T(u8"扫描中..!"));
    EXPECT_FALSE(page.window.IsUsable(按钮_清理文件));
    EXPECT_FALSE(page.window.IsUsable(选择框_大小对比));  // inside the disabled group
    EXPECT_FALSE(page.window.IsUsable(按钮_备份目录));
    EXPECT_TRUE(page.window.IsUsable(选择框_全选));
    EXPECT_TRUE(page.window.IsUsable(按钮_选择游戏目录));
  };
  EXPECT_EQ(page.window.Text(按钮_开始扫描), T(u8"开始扫描!"));
  page.Scan();
  EXPECT_TRUE(sawScanning);
  EXPECT_TRUE(page.window.IsUsable(按钮_开始扫描));
  EXPECT_TRUE(page.window.IsUsable(按钮_清理文件));
  EXPECT_TRUE(page.window.IsUsable(选择框_大小对比));
  EXPECT_EQ(page.window.Text(按钮_开始扫描), T(u8"开始扫描"));
}

TEST_F(ScanTest, ChoosingAnotherGameDirectoryDuringAScanDoesNotDisturbIt) {
  AddLargeOfficialFile();
  page.window.Click(选择框_哈希对比);
  page.Scan();
  const std::vector<ResultRow> undisturbed = page.Rows();

  GameFixture other;
  other.WriteList({{"ImagePacks2", {}}});
  page.window.onWaitingMessages = [&] { page.ChooseGameDirectory(other.Directory()); };
  page.Scan();
  EXPECT_EQ(page.state.GameDirectory, other.Directory());
  EXPECT_EQ(page.Rows(), undisturbed);
}

TEST_F(ScanTest, AFolderMissingFromTheListIsReported) {
  page.game.WriteList({{"SoundPacks", {}}});
  page.ChooseGameDirectory(page.game.Directory());
  page.Scan();
  EXPECT_EQ(page.LastMessage().text, T(u8"此LST文件不存在此目录!!"));
  EXPECT_EQ(page.LastMessage().title, T(u8"警告!"));
  EXPECT_EQ(page.LastMessage().style, 16);
  EXPECT_EQ(page.window.RowCount(超级列表框_扫描结果), 0);
  EXPECT_EQ(page.window.ProgressPosition(进度条_扫描), 0);
  EXPECT_TRUE(page.window.IsUsable(按钮_开始扫描));
  EXPECT_TRUE(page.window.IsUsable(选择框_大小对比));
}

TEST_F(ScanTest, AnEmptyOrMissingFolderFindsNothing) {
  page.game.WriteList({{"SoundPacks", {{"a.ogg", 1, {}}}}, {"ImagePacks2", {}}});
  page.ChooseGameDirectory(page.game.Directory());
  RemoveFolderWithFiles(page.game.FolderPath("SoundPacks"));
  page.Scan(std::string(单选框_SP));
  EXPECT_EQ(page.LastMessage().text, T(u8"没发现补丁文件..无需清理!"));
  EXPECT_EQ(page.LastMessage().style, 64);
}

TEST(ChooseGameDirectory, TellsWhatIsWrongWithTheChoice) {
  PageFixture page;
  page.ChooseGameDirectory(page.game.Directory());  // no package.lst yet
  EXPECT_EQ(page.LastMessage().text, T(u8"LST文件不存在..请重新再选!!"));
  EXPECT_EQ(page.window.Text(编辑框_游戏目录), page.game.Directory());
  EXPECT_EQ(page.window.folderPrompts.back(), T(u8"请选择地下城与勇士根目录(存放[package.lst]的目录)"));

  WriteWholeFile(JoinPath(page.game.Directory(), "package.lst"), "not a list at all, not at all", 29);
  page.ChooseGameDirectory(page.game.Directory());
  EXPECT_EQ(page.LastMessage().text, T(u8"LST文件非DNF的文件列表文件..请重新选择!!"));
  EXPECT_EQ(page.LastMessage().style, 16);

  page.game.WriteList({{"ImagePacks2", {}}});
  page.ChooseGameDirectory(page.game.Directory());
  EXPECT_EQ(page.state.PackageIndex.FolderNames, std::vector<std::string>{"ImagePacks2"});

  const std::size_t boxes = page.window.messages.size();
  page.window.Click(按钮_选择游戏目录);  // cancelled
  EXPECT_EQ(page.window.messages.size(), boxes + 1);
  EXPECT_EQ(page.LastMessage().text, T(u8"请选择目录后再试!"));
  EXPECT_EQ(page.state.GameDirectory, "");
  EXPECT_EQ(page.window.Text(编辑框_游戏目录), page.game.Directory());
  EXPECT_EQ(page.state.PackageIndex.FolderNames.size(), 1u);  // the index keeps its table
}

TEST(ChooseGameDirectory, AReadOnlyListIsStillAList) {
  PageFixture page;
  page.game.WriteList({{"ImagePacks2", {}}});
  const std::string list = JoinPath(page.game.Directory(), "package.lst");
  std::filesystem::permissions(list, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  page.ChooseGameDirectory(page.game.Directory());
  EXPECT_TRUE(page.window.messages.empty());
  EXPECT_EQ(page.state.PackageIndex.FolderNames.size(), 1u);
}
}  // namespace
