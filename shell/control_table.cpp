#include "shell/control_table.h"

namespace {
using K = ControlKind;
using E = ControlEvent;
using namespace control;

constexpr Rgb kNavy{0, 0, 128};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

// Places are relative to the parent: the window's client area, the tab
// control for the controls of a page, the group box for those inside one.
const ControlSpec kControls[] = {
    {时钟1, K::Timer, "", 0, 0, 0, 0, 0, u8"", true, false, false, E::Tick},
    {状态条1, K::StatusBar, "", 0, 0, 544, 669, 20, u8""},
    {选择夹1, K::TabControl, "", 0, 4, 3, 661, 533, u8""},

    {标签1, K::Label, 选择夹1, 1, 12, 29, 56, 16, u8"游戏目录:"},
    {编辑框_游戏目录, K::Edit, 选择夹1, 1, 71, 27, 512, 20, u8"", true, false, true},
    {按钮_选择游戏目录, K::Button, 选择夹1, 1, 588, 26, 64, 24, u8"选择目录", true, false, false, E::Clicked},
    {标签2, K::Label, 选择夹1, 1, 12, 53, 640, 16, u8"注意!..选择的目录必须为DNF的游戏根目录(即Package.lst所在目录!)",
     true, false, false, E::None, {kBlue, u8"", 12, true}},
    {超级列表框_扫描结果, K::ListView, 选择夹1, 1, 10, 77, 640, 320, u8""},
    {选择框_全选, K::CheckBox, 选择夹1, 1, 14, 399, 48, 16, u8"全选", true, false, false, E::Clicked},
    {按钮_开始扫描, K::Button, 选择夹1, 1, 456, 404, 96, 25, u8"开始扫描!", true, false, false, E::Clicked},
    {按钮_清理文件, K::Button, 选择夹1, 1, 554, 404, 96, 25, u8"清理所选文件!", false, false, false, E::Clicked},
    {进度条_扫描, K::ProgressBar, 选择夹1, 1, 76, 421, 376, 8, u8""},
    {分组框1, K::GroupBox, 选择夹1, 1, 10, 429, 640, 96, u8"扫描选项"},
    {选择框_大小对比, K::CheckBox, 分组框1, 1, 10, 16, 128, 16, u8"对文件进行大小对比", true, false, false, E::Clicked},
    {选择框_哈希对比, K::CheckBox, 分组框1, 1, 146, 16, 488, 16,
     u8"对文件进行哈希对比(此选项能保证NPK文件必为官方文件!!但会让扫描速度大幅度减慢!)", true, false, false, E::Clicked},
    {选择框_备份到目录, K::CheckBox, 分组框1, 1, 10, 34, 216, 16, u8"清理的文件不删除而是备份到文件夹"},
    {编辑框_备份目录, K::Edit, 分组框1, 1, 226, 34, 360, 16, u8"", true, false, true},
    {按钮_备份目录, K::Button, 分组框1, 1, 591, 32, 40, 20, u8"浏览", true, false, false, E::Clicked},
    {分组框2, K::GroupBox, 分组框1, 1, 10, 53, 192, 36, u8"需要扫描的目录"},
    {单选框_IP, K::RadioButton, 分组框2, 1, 8, 13, 88, 20, u8"ImagePacks2", true, true},
    {单选框_SP, K::RadioButton, 分组框2, 1, 104, 13, 80, 20, u8"SoundPacks"},

    {标签3, K::Label, 选择夹1, 2, 12, 29, 72, 16, u8"区域服务器:"},
    {组合框_区域服务器, K::DropDownList, 选择夹1, 2, 84, 27, 128, 20, u8"", true, false, false, E::ItemChosen},
    {按钮_更新LST文件, K::Button, 选择夹1, 2, 220, 27, 140, 20, u8"更新所选区服LST文件", true, false, false, E::Clicked},
    {标签5, K::Label, 选择夹1, 2, 380, 29, 56, 16, u8"文件目录:"},
    {组合框_文件夹目录, K::DropDownList, 选择夹1, 2, 436, 27, 208, 20, u8"", true, false, false, E::ItemChosen},
    {列表框_NPK文件列表, K::ListBox, 选择夹1, 2, 12, 53, 637, 320, u8"", true, false, false, E::DoubleClicked},
    {标签6, K::Label, 选择夹1, 2, 12, 381, 200, 24, u8"由于从官方对应服务器下载文件 部分外服下载速度可能会很慢!!", true, false,
     false, E::None, {kRed, u8"宋体", 12, true, true, true, true}},
    {标签7, K::Label, 选择夹1, 2, 236, 381, 72, 24, u8"关键词查找:"},
    {编辑框_文件名关键词, K::Edit, 选择夹1, 2, 306, 383, 274, 20, u8"", true, false, false, E::KeyDown},
    {按钮_查找关键词, K::Button, 选择夹1, 2, 584, 383, 32, 20, u8"查找", true, false, false, E::Clicked},
    {按钮_清空关键词, K::Button, 选择夹1, 2, 616, 383, 32, 20, u8"清空", true, false, false, E::Clicked},
    {分组框3, K::GroupBox, 选择夹1, 2, 12, 413, 638, 112, u8"下载信息"},
    {标签4, K::Label, 分组框3, 2, 8, 16, 616, 24, u8"空闲中!", true, false, false, E::None,
     {kNavy, u8"宋体", 14, true, true, false, true, true}},
    {进度条1, K::ProgressBar, 分组框3, 2, 8, 48, 616, 24, u8""},
    {标签_文件大小, K::Label, 分组框3, 2, 8, 80, 190, 24, u8"文件大小:", true, false, false, E::None,
     {kNavy, u8"", 0, false, false, false, true}},
    {标签_已下载, K::Label, 分组框3, 2, 224, 80, 190, 24, u8"已下载:", true, false, false, E::None,
     {kNavy, u8"", 0, false, false, false, true}},
    {标签_下载速度, K::Label, 分组框3, 2, 432, 80, 190, 24, u8"下载速度:", true, false, false, E::None,
     {kNavy, u8"", 0, false, false, false, true}},
};

const WindowSpec kWindow = {
    u8"Pellory V0.3 [By.Vell]",
    675,
    586,
    {u8"补丁清理", u8"外服资源下载"},
    {u8"欢迎大家光临我的微博哦~ http://weibo.com/", u8"VerDate.[2013.3.24]"},
    550,
    {{u8"文件名", 420}, {u8"所在目录", 100}, {u8"检测结果", 100}},
    {u8"ImagePacks2", u8"SoundPacks", u8"Music"},
};
}  // namespace

std::span<const ControlSpec> ControlTable() { return kControls; }

const ControlSpec* FindControl(std::string_view name) {
  for (const ControlSpec& entry : kControls)
    if (entry.name == name) return &entry;
  return nullptr;
}

const WindowSpec& MainWindowSpec() { return kWindow; }
