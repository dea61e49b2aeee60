// A download on the second page in the real window under Wine: the user
// chooses a region and a folder and double-clicks an archive; the program's
// engine fetches it from nginx on the loopback address, Ferrule.exe unpacks
// it with the 7z.exe stand-in beside it, and the window says it is done.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "downloader/browse_handlers.h"
#include "downloader/download_handlers.h"
#include "platform/download_transport.h"
#include "platform/files.h"
#include "platform/utf8_text.h"
#include "shell/control_names.h"
#include "shell/win32/win32_window.h"
#include "tests/downloader/browse_page.h"
#include "tests/downloader/loopback_servers.h"
#include "tests/downloader/region_list_builder.h"
#include "tests/shell/probe/window_probe.h"
#include "tests/shell/win32_page/window_user.h"
#include "tests/test_folder.h"
#include "tools/spk_writer.h"

namespace {
using namespace control;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

// The program's folder for a page test: the sealed configuration naming
// the Korean region with its list name "kr", its archives and its list below
// the servers' folder "wkr", and kr.lst naming `archives` in ImagePacks2.
struct PageFolder {
  explicit PageFolder(const LoopbackServers& servers, const std::vector<std::string>& archives) {
    CreateFolder(JoinPath(servers.root, "wkr"));
    CreateFolder(JoinPath(JoinPath(servers.root, "wkr"), "ImagePacks2"));
    runDirectory.Write("File_Cfg.ini", SealedConfig("[lst_name]\r\n" + korea + "=kr\r\n[kr]\r\nfile=" +
                                                    servers.NginxUrl("/files/wkr/") + "\r\nlst=" +
                                                    servers.NginxUrl("/files/wkr/kr.lst") + "\r\n"));
    CreateFolder(runDirectory.File("lst_file"));
    runDirectory.Write(JoinPath("lst_file", "kr.lst"), RegionListBuilder().Block("ImagePacks2", archives).Contents());
  }

  // The page of Pellory's window over this folder, its engine and Ferrule.
  void Wire(Win32Window& window) {
    state.RunDirectory = runDirectory.Path();
    state.DownloadTask.emplace();
    state.DownloadEngine = CreateDownloadEngine(CreateDownloadTransport());
    state.RunUnpacker = UnpackerBeside(runDirectory.Path());
    WireBrowseHandlers(window, state);
    WireDownloadHandlers(window, state);
    FillRegionList(window, state);
  }

  TestFolder runDirectory;
  DownloaderState state;
  const std::string korea = T(u8"韩国");
};

// Region and folder chosen by keys, as a user with the keyboard would.
void ChooseKoreaAndImagePacks(User& user) {
  user.ShowPage(2);
  user.PressKey(组合框_区域服务器, VK_DOWN);
  user.PressKey(组合框_文件夹目录, VK_DOWN);  // ImagePacks2
}

TEST(DownloadPage, ADoubleClickedArchiveIsDownloadedAndUnpacked) {
  const LoopbackServers* servers = TestServers();
  ASSERT_TRUE(servers);
  PageFolder folder(*servers, {"win_ok.NPK"});
  const std::string content(150000, 'w');
  SpkImage image;
  image.content.assign(content.begin(), content.end());
  image.chunks.push_back({kStoredChunk, image.content});
  const Bytes spk = EncodeSpk(image);
  servers->Serve(JoinPath(JoinPath("wkr", "ImagePacks2"), "win_ok.NPK.spk"), std::string(spk.begin(), spk.end()));
  ASSERT_TRUE(CopyFileReplacing(FERRULE_EXE, folder.runDirectory.File("Ferrule.exe")));
  ASSERT_TRUE(CopyFileReplacing(SEVEN_ZIP_STAND_IN, folder.runDirectory.File("7z.exe")));

  Win32Window window;
  folder.Wire(window);
  PlayAsUser(window, [&](User& user) {
    ChooseKoreaAndImagePacks(user);
    WaitFor("the archive to be listed", [&] { return window.ListCount(列表框_NPK文件列表) == 1; });
    DoubleClickListItem(user.Handle(列表框_NPK文件列表), 0);

    WaitFor("the download to start", [&] { return window.Text(标签4) != T(u8"空闲中!"); });
    WaitFor("the unpacking", [&] { return window.Text(标签4).rfind(T(u8"解包此文件中"), 0) == 0; });
    const MessageBoxSeen done = user.AwaitMessageBox("the download");
    EXPECT_EQ(done.text, T(u8"外服文件下载完毕!"));
    EXPECT_EQ(done.title, T(u8"提示!"));
    EXPECT_EQ(window.Text(标签_文件大小), T(u8"文件大小:空闲"));
    user.Dismiss(done);
    WaitFor("the page to be idle", [&] { return window.Text(标签4) == T(u8"空闲中!"); });
    user.CloseWindow();
  });
  folder.state.DownloadEngine->Destroy();
  const std::string region = JoinPath(folder.runDirectory.File("Download"), folder.korea);
  EXPECT_EQ(ReadWholeFile(JoinPath(region, "win_ok.NPK")), image.content);
  EXPECT_FALSE(FileExists(JoinPath(region, "win_ok.NPK.spk")));
}

// The refresh button fetches the region's list from the server, puts it in
// place of the old one and shows the new list's archives.
TEST(DownloadPage, ARefreshReplacesTheListAndShowsItsArchives) {
  const LoopbackServers* servers = TestServers();
  ASSERT_TRUE(servers);
  PageFolder folder(*servers, {"old_only.NPK"});
  const Bytes newList = RegionListBuilder().Block("ImagePacks2", {"fresh_a.NPK", "fresh_b.NPK"}).Contents();
  servers->Serve(JoinPath("wkr", "kr.lst"), std::string(newList.begin(), newList.end()));

  Win32Window window;
  folder.Wire(window);
  folder.state.SettleMilliseconds = 100;
  PlayAsUser(window, [&](User& user) {
    ChooseKoreaAndImagePacks(user);
    WaitFor("the old list's archive", [&] { return window.ListCount(列表框_NPK文件列表) == 1; });
    user.Click(按钮_更新LST文件);
    WaitFor("the refresh to start", [&] { return window.Text(标签4) == T(u8"下载此文件中 [kr.lst]"); });
    EXPECT_FALSE(window.IsEnabled(组合框_区域服务器));
    const MessageBoxSeen done = user.AwaitMessageBox("the refresh");
    EXPECT_EQ(done.text, T(u8"LST文件更新完毕!"));
    user.Dismiss(done);
    WaitFor("the page to be idle", [&] { return window.Text(标签4) == T(u8"空闲中!"); });
    WaitFor("the new list's archives", [&] { return window.ListCount(列表框_NPK文件列表) == 2; });
    EXPECT_EQ(window.ListItem(列表框_NPK文件列表, 0), "fresh_a.NPK");
    EXPECT_EQ(window.ListItem(列表框_NPK文件列表, 1), "fresh_b.NPK");
    EXPECT_TRUE(window.IsEnabled(组合框_区域服务器));
    user.CloseWindow();
  });
  folder.state.DownloadEngine->Destroy();
  EXPECT_EQ(ReadWholeFile(folder.runDirectory.File(JoinPath("lst_file", "kr.lst"))), newList);
  EXPECT_FALSE(FileExists(folder.runDirectory.File(JoinPath("lst_file", "kr.lst.new"))));
}
}  // namespace
