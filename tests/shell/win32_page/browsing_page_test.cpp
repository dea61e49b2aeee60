// The second page in the real Win32 window: a region and a folder chosen with
// the keyboard, as a user can, a keyword typed and searched with Enter, and
// the search cleared with its button; the program's folder holds the
// configuration file that ships with the programs and a region list file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "downloader/browse_handlers.h"
#include "platform/files.h"
#include "platform/utf8_text.h"
#include "shell/control_names.h"
#include "shell/win32/win32_window.h"
#include "tests/downloader/region_list_builder.h"
#include "tests/shell/win32_page/window_user.h"
#include "tests/test_folder.h"

namespace {
using namespace control;
using Names = std::vector<std::string>;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

// Enough names to show that a large folder arrives whole and in order.
Names ManyNames() {
  Names names;
  for (int i = 0; i < 30000; ++i) names.push_back("sprite_item_" + std::to_string(i) + ".NPK");
  return names;
}

const Names kSounds = {"sounds_mon.npk", "", "sounds_BgM.npk", T(u8"音效_bgm.npk"), "sounds_mon.npk"};

class BrowsingPageTest : public ::testing::Test {
 protected:
  BrowsingPageTest() {
    runDirectory.Write("File_Cfg.ini", ReadWholeFile(DNF_SEALED_CONFIG));
    CreateFolder(runDirectory.File("lst_file"));
    runDirectory.Write(JoinPath("lst_file", "kr.lst"),
                       RegionListBuilder().Block("ImagePacks2", ManyNames()).Block("SoundPacks", kSounds).Contents());
    state.RunDirectory = runDirectory.Path();
    WireBrowseHandlers(window, state);
    FillRegionList(window, state);
  }

  Names Shown() const {
    Names names;
    for (int i = 0; i < window.ListCount(列表框_NPK文件列表); ++i) names.push_back(window.ListItem(列表框_NPK文件列表, i));
    return names;
  }

  void AwaitShown(const std::string& after, const Names& expected) {
    WaitFor("the list after " + after, [&] { return Shown() == expected; });
  }

  TestFolder runDirectory;
  Win32Window window;
  DownloaderState state;
};

TEST_F(BrowsingPageTest, ChoosesRegionAndFolderSearchesWithEnterAndClears) {
  PlayAsUser(window, [&](User& user) {
    EXPECT_EQ(window.ComboCount(组合框_区域服务器), 3);
    EXPECT_EQ(window.ComboItem(组合框_区域服务器, 0), T(u8"韩国"));
    EXPECT_EQ(window.ComboItem(组合框_区域服务器, 2), T(u8"台湾"));
    EXPECT_EQ(window.ComboCurrent(组合框_区域服务器), -1);
    user.ShowPage(2);

    user.PressKey(组合框_区域服务器, VK_DOWN);  // the first region
    WaitFor("the first region to be chosen", [&] { return window.ComboCurrent(组合框_区域服务器) == 0; });
    EXPECT_EQ(window.ListCount(列表框_NPK文件列表), 0);  // no folder yet

    user.PressKey(组合框_文件夹目录, VK_DOWN);  // ImagePacks2
    WaitFor("ImagePacks2 to be shown", [&] { return window.ListCount(列表框_NPK文件列表) == 30000; });
    EXPECT_EQ(window.ListItem(列表框_NPK文件列表, 0), "sprite_item_0.NPK");
    EXPECT_EQ(window.ListItem(列表框_NPK文件列表, 29999), "sprite_item_29999.NPK");
    EXPECT_EQ(window.ListCurrent(列表框_NPK文件列表), -1);

    user.PressKey(组合框_文件夹目录, VK_DOWN);  // SoundPacks
    AwaitShown("choosing SoundPacks", kSounds);

    user.Type(编辑框_文件名关键词, "bgm");
    EXPECT_EQ(Shown(), kSounds);  // typing alone does not search
    user.PressKey(编辑框_文件名关键词, VK_RETURN);
    AwaitShown("Enter", {"sounds_BgM.npk", T(u8"音效_bgm.npk")});

    user.Click(按钮_清空关键词);
    AwaitShown("the clear button", kSounds);
    WaitFor("the keyword box to be empty", [&] { return window.Text(编辑框_文件名关键词).empty(); });

    user.Type(编辑框_文件名关键词, "MON");
    user.Click(按钮_查找关键词);
    AwaitShown("the search button", {"sounds_mon.npk", "sounds_mon.npk"});
  });
  EXPECT_EQ(state.RegionBaseUrl.Get(), "http://127.0.0.1:8631/kr/");
}
}  // namespace
