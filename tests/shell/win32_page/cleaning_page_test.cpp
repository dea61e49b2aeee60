// The first page in the real Win32 window: a scan and a cleaning driven as a
// user drives them, by clicks and through the system's own folder dialog and
// message boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "cleaner/cleaner_handlers.h"
#include "cleaner/cleaner_texts.h"
#include "shell/control_names.h"
#include "tests/cleaner/game_fixture.h"
#include "platform/utf8_text.h"
#include "tests/shell/win32_page/window_user.h"
#include "shell/win32/win32_window.h"

namespace {
using namespace control;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

struct Row {
  std::string name, folder, verdict;
  bool operator==(const Row&) const = default;
  bool operator<(const Row& other) const {
    return std::tie(name, folder, verdict) < std::tie(other.name, other.folder, other.verdict);
  }
};

void PrintTo(const Row& row, std::ostream* out) {
  *out << "{" << Readable(row.name) << ", " << Readable(row.folder) << ", " << Readable(row.verdict) << "}";
}

// The real window wired to the first page's handlers, over a game directory
// of real files; the program's folder is a temporary one.
class CleaningPageTest : public ::testing::Test {
 protected:
  CleaningPageTest() {
    state.RunDirectory = runDirectory.Path();
    WireCleanerHandlers(window, state);
  }

  std::vector<Row> Rows() const {
    std::vector<Row> rows;
    for (int row = 0; row < window.RowCount(超级列表框_扫描结果); ++row)
      rows.push_back({window.Cell(超级列表框_扫描结果, row, 0), window.Cell(超级列表框_扫描结果, row, 1),
                      window.Cell(超级列表框_扫描结果, row, 2)});
    std::sort(rows.begin(), rows.end());  // the order is the file system's
    return rows;
  }

  bool AllRowsTicked() const {
    for (int row = 0; row < window.RowCount(超级列表框_扫描结果); ++row)
      if (!window.IsRowChecked(超级列表框_扫描结果, row)) return false;
    return true;
  }

  const CleanerTexts& texts = CleanerTexts::Get();
  GameFixture game;
  TestFolder runDirectory;
  TestFolder backup;
  Win32Window window;
  CleanerState state;
};

TEST_F(CleaningPageTest, ScansWithSizesAndDeletesWhatItFound) {
  const ListedFile good = game.AddFile("ImagePacks2", "good.NPK", Content(64, 1));
  const ListedFile resized = game.AddFile("ImagePacks2", "resized.NPK", Content(100, 2));
  game.AddFile("ImagePacks2", "resized.NPK", Content(101, 2));  // the official file, grown
  game.AddFile("ImagePacks2", "stray.NPK", Content(30, 3));     // not in the list at all
  game.WriteList({{"ImagePacks2", {good, resized}}});

  PlayAsUser(window, [&](User& user) {
    user.ChooseFolder(按钮_选择游戏目录, texts.chooseGameDirectoryPrompt, game.Directory(), 编辑框_游戏目录);
    user.Tick(选择框_大小对比);
    user.Click(按钮_开始扫描);
    MessageBoxSeen found = user.AwaitMessageBox("the scan");
    EXPECT_EQ(found.text, texts.foundBefore + "2" + texts.foundAfter);
    EXPECT_EQ(found.title, texts.hintTitle);
    EXPECT_EQ(Rows(), (std::vector<Row>{{"resized.NPK", "ImagePacks2", T(u8"文件大小错误")},
                                             {"stray.NPK", "ImagePacks2", T(u8"非官方文件")}}));
    user.Dismiss(found);

    user.Tick(选择框_全选);
    WaitFor("select-all to tick every row", [&] { return AllRowsTicked(); });
    user.Click(按钮_清理文件);
    MessageBoxSeen cleaned = user.AwaitMessageBox("the cleaning");
    EXPECT_EQ(cleaned.text, texts.cleaned);
    EXPECT_EQ(cleaned.title, texts.congratulationsTitle);
    EXPECT_EQ(window.RowCount(超级列表框_扫描结果), 0);
    user.Dismiss(cleaned);
  });

  EXPECT_TRUE(game.Has("ImagePacks2", "good.NPK"));
  EXPECT_FALSE(game.Has("ImagePacks2", "resized.NPK"));
  EXPECT_FALSE(game.Has("ImagePacks2", "stray.NPK"));
}

TEST_F(CleaningPageTest, MovesWhatItFoundIntoTheChosenBackupFolder) {
  const ListedFile good = game.AddFile("ImagePacks2", "good.NPK", Content(64, 1));
  game.AddFile("ImagePacks2", "stray.NPK", Content(30, 3));
  game.WriteList({{"ImagePacks2", {good}}});

  PlayAsUser(window, [&](User& user) {
    user.ChooseFolder(按钮_选择游戏目录, texts.chooseGameDirectoryPrompt, game.Directory(), 编辑框_游戏目录);
    user.Click(按钮_开始扫描);
    MessageBoxSeen found = user.AwaitMessageBox("the scan");
    EXPECT_EQ(found.text, texts.foundBefore + "1" + texts.foundAfter);
    user.Dismiss(found);

    user.ChooseFolder(按钮_备份目录, texts.chooseBackupDirectoryPrompt, backup.Path(), 编辑框_备份目录);
    EXPECT_TRUE(window.IsChecked(选择框_备份到目录));
    user.Tick(选择框_全选);
    WaitFor("select-all to tick every row", [&] { return AllRowsTicked(); });
    user.Click(按钮_清理文件);
    MessageBoxSeen cleaned = user.AwaitMessageBox("the cleaning");
    EXPECT_EQ(cleaned.text, texts.cleaned);
    user.Dismiss(cleaned);
  });

  EXPECT_TRUE(game.Has("ImagePacks2", "good.NPK"));
  EXPECT_FALSE(game.Has("ImagePacks2", "stray.NPK"));
  ASSERT_TRUE(backup.Has("stray.NPK"));
  EXPECT_EQ(backup.Read("stray.NPK"), Content(30, 3));
}
}  // namespace
