// A download on the second page in the real window under Wine: the user
// chooses a region and a folder and double-clicks an archive; the program's
// engine fetches it from nginx on the loopback address, Ferrule.exe unpacks
// it with the 7z.exe stand-in beside it, and the window says it is done.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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
#include "tests/shell/win32_page/window_user.h"
#include "tests/test_folder.h"
#include "tools/spk_writer.h"

namespace {
using namespace control;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

// The mouse goes to the first item and clicks twice: the window takes only
// a double-click on an item, by where the mouse was.
void DoubleClickFirstItem(HWND list) {
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(list, &centre);
  SetCursorPos(centre.x, centre.y);
  INPUT clicks[4]{};
  for (int i = 0; i < 4; ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  SendInput(4, clicks, sizeof(INPUT));
}

TEST(DownloadPage, ADoubleClickedArchiveIsDownloadedAndUnpacked) {
  const LoopbackServers* servers = TestServers();
  ASSERT_TRUE(servers);
  TestFolder runDirectory;
  const std::string content(150000, 'w');
  SpkImage image;
  image.content.assign(content.begin(), content.end());
  image.chunks.push_back({kStoredChunk, image.content});
  const Bytes spk = EncodeSpk(image);
  CreateFolder(JoinPath(servers->root, "wkr"));
  CreateFolder(JoinPath(JoinPath(servers->root, "wkr"), "ImagePacks2"));
  servers->Serve(JoinPath(JoinPath("wkr", "ImagePacks2"), "win_ok.NPK.spk"), std::string(spk.begin(), spk.end()));

  const std::string korea = T(u8"韩国");
  runDirectory.Write("File_Cfg.ini", SealedConfig("[lst_name]\r\n" + korea + "=kr\r\n[kr]\r\nfile=" +
                                                  servers->NginxUrl("/files/wkr/") + "\r\n"));
  CreateFolder(runDirectory.File("lst_file"));
  runDirectory.Write(JoinPath("lst_file", "kr.lst"), RegionListBuilder().Block("ImagePacks2", {"win_ok.NPK"}).Contents());
  ASSERT_TRUE(CopyFileReplacing(FERRULE_EXE, runDirectory.File("Ferrule.exe")));
  ASSERT_TRUE(CopyFileReplacing(SEVEN_ZIP_STAND_IN, runDirectory.File("7z.exe")));

  Win32Window window;
  DownloaderState state;
  state.RunDirectory = runDirectory.Path();
  state.DownloadTask.emplace();
  state.DownloadEngine = CreateDownloadEngine(CreateDownloadTransport());
  state.RunUnpacker = UnpackerBeside(runDirectory.Path());
  WireBrowseHandlers(window, state);
  WireDownloadHandlers(window, state);
  FillRegionList(window, state);

  PlayAsUser(window, [&](User& user) {
    user.ShowPage(2);
    user.PressKey(组合框_区域服务器, VK_DOWN);
    user.PressKey(组合框_文件夹目录, VK_DOWN);  // ImagePacks2
    WaitFor("the archive to be listed", [&] { return window.ListCount(列表框_NPK文件列表) == 1; });
    DoubleClickFirstItem(user.Handle(列表框_NPK文件列表));

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
  state.DownloadEngine->Destroy();
  const std::string region = JoinPath(runDirectory.File("Download"), korea);
  EXPECT_EQ(ReadWholeFile(JoinPath(region, "win_ok.NPK")), image.content);
  EXPECT_FALSE(FileExists(JoinPath(region, "win_ok.NPK.spk")));
}
}  // namespace
