// The started program: its window offers the configured regions before the
// user acts, and the second page's controls have their handlers.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/utf8_text.h"
#include "shell/program_frame.h"
#include "tests/downloader/browse_page.h"
#include "tests/shell/fake_skin_library.h"

namespace {
using namespace control;

class HeadlessHost final : public MainWindowHost {
 public:
  explicit HeadlessHost(std::function<void(HeadlessWindow&)> whileRunning) : whileRunning_(std::move(whileRunning)) {}
  Window& CreateMainWindow() override { return window; }
  void ShowAndRunUntilClosed() override {
    window.SwitchTab(2);
    whileRunning_(window);
    window.Close();
  }

  HeadlessWindow window;

 private:
  std::function<void(HeadlessWindow&)> whileRunning_;
};

TEST(BrowseInTheProgram, TheRegionsAreOfferedAtStartAndTheSecondPageBrowses) {
  const std::string korea = TextFromUtf8Source(u8"韩国"), japan = TextFromUtf8Source(u8"日本");
  TestFolder runDirectory;
  runDirectory.Write("File_Cfg.ini", SealedConfig("[lst_name]\r\n" + korea + "=kr\r\n" + japan + "=jp\r\n"));
  CreateFolder(runDirectory.File("lst_file"));
  runDirectory.Write(JoinPath("lst_file", "kr.lst"), RegionListBuilder().Block("Music", {"a.ogg", "b.ogg"}).Contents());

  FakeSkinLibrary skinLibrary;
  ProgramFrame frame(runDirectory.Path(), nullptr, skinLibrary);
  std::vector<std::string> offered, shown, found;
  int chosenAtStart = 0;
  HeadlessHost host([&](HeadlessWindow& window) {
    for (int i = 0; i < window.ComboCount(组合框_区域服务器); ++i) offered.push_back(window.ComboItem(组合框_区域服务器, i));
    chosenAtStart = window.ComboCurrent(组合框_区域服务器);
    window.ChooseItem(组合框_区域服务器, 0);
    window.ChooseItem(组合框_文件夹目录, 2);  // Music
    for (int i = 0; i < window.ListCount(列表框_NPK文件列表); ++i) shown.push_back(window.ListItem(列表框_NPK文件列表, i));
    window.SetText(编辑框_文件名关键词, "B");
    window.PressKey(编辑框_文件名关键词, 13);
    for (int i = 0; i < window.ListCount(列表框_NPK文件列表); ++i) found.push_back(window.ListItem(列表框_NPK文件列表, i));
  });
  EXPECT_EQ(frame.Run(host), 0);
  EXPECT_EQ(offered, (std::vector<std::string>{korea, japan}));
  EXPECT_EQ(chosenAtStart, -1);
  EXPECT_EQ(shown, (std::vector<std::string>{"a.ogg", "b.ogg"}));
  EXPECT_EQ(found, std::vector<std::string>{"b.ogg"});
  EXPECT_TRUE(host.window.messages.empty());
}
}  // namespace
