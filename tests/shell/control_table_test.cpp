// The window as it opens, and the rules every control keeps, checked on the
// in-memory window that is built from the same table as the real one.
#include <gtest/gtest.h>

#include "shell/control_table.h"
#include "shell/headless_window.h"
#include "platform/utf8_text.h"

namespace {
using namespace control;

std::string Gbk(std::u8string_view text) { return TextFromUtf8Source(text); }

TEST(WindowAtStart, EveryControlHasItsCaptionAndState) {
  struct Expected {
    Name name;
    std::u8string_view text;
    bool enabled = true;
    bool checked = false;
  };
  const Expected table[] = {
      {标签1, u8"游戏目录:"},
      {编辑框_游戏目录, u8""},
      {按钮_选择游戏目录, u8"选择目录"},
      {标签2, u8"注意!..选择的目录必须为DNF的游戏根目录(即Package.lst所在目录!)"},
      {选择框_全选, u8"全选"},
      {按钮_开始扫描, u8"开始扫描!"},
      {按钮_清理文件, u8"清理所选文件!", false},
      {分组框1, u8"扫描选项"},
      {选择框_大小对比, u8"对文件进行大小对比"},
      {选择框_哈希对比, u8"对文件进行哈希对比(此选项能保证NPK文件必为官方文件!!但会让扫描速度大幅度减慢!)"},
      {选择框_备份到目录, u8"清理的文件不删除而是备份到文件夹"},
      {编辑框_备份目录, u8""},
      {按钮_备份目录, u8"浏览"},
      {分组框2, u8"需要扫描的目录"},
      {单选框_IP, u8"ImagePacks2", true, true},
      {单选框_SP, u8"SoundPacks"},
      {标签3, u8"区域服务器:"},
      {按钮_更新LST文件, u8"更新所选区服LST文件"},
      {标签5, u8"文件目录:"},
      {标签6, u8"由于从官方对应服务器下载文件 部分外服下载速度可能会很慢!!"},
      {标签7, u8"关键词查找:"},
      {编辑框_文件名关键词, u8""},
      {按钮_查找关键词, u8"查找"},
      {按钮_清空关键词, u8"清空"},
      {分组框3, u8"下载信息"},
      {标签4, u8"空闲中!"},
      {标签_文件大小, u8"文件大小:"},
      {标签_已下载, u8"已下载:"},
      {标签_下载速度, u8"下载速度:"},
  };
  HeadlessWindow window;
  for (const Expected& control : table) {
    SCOPED_TRACE(std::string(control.name));
    EXPECT_EQ(window.Text(control.name), Gbk(control.text));
    EXPECT_EQ(window.IsEnabled(control.name), control.enabled);
    EXPECT_EQ(window.IsChecked(control.name), control.checked);
  }
}

TEST(WindowAtStart, ListsAreEmptyAndNothingRuns) {
  HeadlessWindow window;
  EXPECT_EQ(window.RowCount(超级列表框_扫描结果), 0);
  EXPECT_EQ(window.ComboCount(组合框_区域服务器), 0);
  EXPECT_EQ(window.ComboCurrent(组合框_区域服务器), -1);
  EXPECT_EQ(window.ListCount(列表框_NPK文件列表), 0);
  EXPECT_EQ(window.ListCurrent(列表框_NPK文件列表), -1);
  // The folder choices are there, but none is chosen until the user picks one.
  ASSERT_EQ(window.ComboCount(组合框_文件夹目录), 3);
  EXPECT_EQ(window.ComboItem(组合框_文件夹目录, 0), "ImagePacks2");
  EXPECT_EQ(window.ComboItem(组合框_文件夹目录, 1), "SoundPacks");
  EXPECT_EQ(window.ComboItem(组合框_文件夹目录, 2), "Music");
  EXPECT_EQ(window.ComboCurrent(组合框_文件夹目录), -1);
  for (Name bar : {进度条_扫描, 进度条1}) {
    EXPECT_EQ(window.ProgressMaximum(bar), 100);
    EXPECT_EQ(window.ProgressPosition(bar), 0);
  }
  EXPECT_EQ(window.Control(时钟1).timerPeriod, 0);
  EXPECT_EQ(window.CurrentTab(), 1);
}

TEST(WindowTable, DirectoryBoxesTakeNoTyping) {
  EXPECT_TRUE(FindControl(编辑框_游戏目录)->readOnly);
  EXPECT_TRUE(FindControl(编辑框_备份目录)->readOnly);
  EXPECT_FALSE(FindControl(编辑框_文件名关键词)->readOnly);
}

// A slip in one place or size would put a control outside the box that
// holds it, where it is cut off or hidden.
TEST(WindowTable, EveryControlFitsInsideItsParent) {
  for (const ControlSpec& entry : ControlTable()) {
    if (entry.parent.empty()) continue;
    SCOPED_TRACE(std::string(entry.name));
    const ControlSpec* parent = FindControl(entry.parent);
    ASSERT_NE(parent, nullptr);
    if (parent->kind == ControlKind::GroupBox) {
      EXPECT_EQ(entry.page, parent->page);
    }
    EXPECT_GE(entry.x, 0);
    EXPECT_GE(entry.y, 0);
    EXPECT_LE(entry.x + entry.width, parent->width);
    EXPECT_LE(entry.y + entry.height, parent->height);
  }
}

TEST(WindowTable, NamesAreUniqueAndFindable) {
  for (const ControlSpec& entry : ControlTable()) EXPECT_EQ(FindControl(entry.name), &entry) << entry.name;
  EXPECT_EQ(FindControl("no such control"), nullptr);
}

TEST(WindowTabs, SwitchingShowsOnePageAndKeepsTheOthersState) {
  HeadlessWindow window;
  window.SetText(编辑框_游戏目录, "D:\\DNF");
  window.SetChecked(选择框_大小对比, true);
  EXPECT_TRUE(window.IsVisible(按钮_开始扫描));
  EXPECT_TRUE(window.IsVisible(单选框_SP));  // inside two group boxes on the first page
  EXPECT_FALSE(window.IsVisible(列表框_NPK文件列表));

  window.SwitchTab(2);
  EXPECT_FALSE(window.IsVisible(按钮_开始扫描));
  EXPECT_FALSE(window.IsVisible(单选框_SP));
  EXPECT_TRUE(window.IsVisible(列表框_NPK文件列表));
  EXPECT_TRUE(window.IsVisible(标签_下载速度));
  EXPECT_TRUE(window.IsVisible(状态条1));

  window.SwitchTab(1);
  EXPECT_EQ(window.Text(编辑框_游戏目录), "D:\\DNF");
  EXPECT_TRUE(window.IsChecked(选择框_大小对比));
}

TEST(WindowClicks, CheckBoxesToggleBeforeTheirHandlerAndRadiosExcludeEachOther) {
  HeadlessWindow window;
  std::vector<bool> seen;
  window.SetHandler(选择框_大小对比, [&] { seen.push_back(window.IsChecked(选择框_大小对比)); });
  window.Click(选择框_大小对比);
  window.Click(选择框_大小对比);
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));

  window.Click(单选框_SP);
  EXPECT_TRUE(window.IsChecked(单选框_SP));
  EXPECT_FALSE(window.IsChecked(单选框_IP));
  window.Click(单选框_IP);
  EXPECT_FALSE(window.IsChecked(单选框_SP));
}

TEST(WindowClicks, DisabledButtonsAndDisabledGroupsTakeNoClicks) {
  HeadlessWindow window;
  int clicks = 0;
  window.SetHandler(按钮_清理文件, [&] { ++clicks; });
  window.SetHandler(按钮_备份目录, [&] { ++clicks; });
  window.Click(按钮_清理文件);
  window.SetEnabled(分组框1, false);
  window.Click(按钮_备份目录);
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(window.IsEnabled(按钮_备份目录));  // its own state is kept for later
  EXPECT_FALSE(window.IsUsable(按钮_备份目录));
}

TEST(WindowClose, IsAlwaysGrantedEvenWhileAHandlerRuns) {
  HeadlessWindow window;
  int clicks = 0;
  window.SetHandler(按钮_开始扫描, [&] {
    ++clicks;
    window.onWaitingMessages = [&] { window.Close(); };
    window.ProcessWaitingMessages();
  });
  window.Click(按钮_开始扫描);
  EXPECT_TRUE(window.IsClosed());
  EXPECT_TRUE(window.messages.empty());  // nothing is asked
  window.Click(按钮_开始扫描);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
