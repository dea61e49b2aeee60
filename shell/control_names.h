#pragma once
// The names by which every handler addresses the window's controls.
#include <string_view>

namespace control {
using Name = std::string_view;
inline constexpr Name 时钟1 = "时钟1";
inline constexpr Name 状态条1 = "状态条1";
inline constexpr Name 选择夹1 = "选择夹1";
// First page: patch cleaning.
inline constexpr Name 标签1 = "标签1";
inline constexpr Name 编辑框_游戏目录 = "编辑框_游戏目录";
inline constexpr Name 按钮_选择游戏目录 = "按钮_选择游戏目录";
inline constexpr Name 标签2 = "标签2";
inline constexpr Name 超级列表框_扫描结果 = "超级列表框_扫描结果";
inline constexpr Name 选择框_全选 = "选择框_全选";
inline constexpr Name 按钮_开始扫描 = "按钮_开始扫描";
inline constexpr Name 按钮_清理文件 = "按钮_清理文件";
inline constexpr Name 进度条_扫描 = "进度条_扫描";
inline constexpr Name 分组框1 = "分组框1";
inline constexpr Name 选择框_大小对比 = "选择框_大小对比";
inline constexpr Name 选择框_哈希对比 = "选择框_哈希对比";
inline constexpr Name 选择框_备份到目录 = "选择框_备份到目录";
inline constexpr Name 编辑框_备份目录 = "编辑框_备份目录";
inline constexpr Name 按钮_备份目录 = "按钮_备份目录";
inline constexpr Name 分组框2 = "分组框2";
inline constexpr Name 单选框_IP = "单选框_IP";
inline constexpr Name 单选框_SP = "单选框_SP";
// Second page: foreign-server resources.
inline constexpr Name 标签3 = "标签3";
inline constexpr Name 组合框_区域服务器 = "组合框_区域服务器";
inline constexpr Name 按钮_更新LST文件 = "按钮_更新LST文件";
inline constexpr Name 标签5 = "标签5";
inline constexpr Name 组合框_文件夹目录 = "组合框_文件夹目录";
inline constexpr Name 列表框_NPK文件列表 = "列表框_NPK文件列表";
inline constexpr Name 标签6 = "标签6";
inline constexpr Name 标签7 = "标签7";
inline constexpr Name 编辑框_文件名关键词 = "编辑框_文件名关键词";
inline constexpr Name 按钮_查找关键词 = "按钮_查找关键词";
inline constexpr Name 按钮_清空关键词 = "按钮_清空关键词";
inline constexpr Name 分组框3 = "分组框3";
inline constexpr Name 标签4 = "标签4";
inline constexpr Name 进度条1 = "进度条1";
inline constexpr Name 标签_文件大小 = "标签_文件大小";
inline constexpr Name 标签_已下载 = "标签_已下载";
inline constexpr Name 标签_下载速度 = "标签_下载速度";
}  // namespace control
