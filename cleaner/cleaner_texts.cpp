#include "cleaner/cleaner_texts.h"

#include "platform/utf8_text.h"

namespace {
CleanerTexts MakeTexts() {
  auto t = [](std::u8string_view text) { return TextFromUtf8Source(text); };
  CleanerTexts texts;
  texts.warningTitle = t(u8"警告!");
  texts.hintTitle = t(u8"提示");
  texts.congratulationsTitle = t(u8"恭喜!");
  texts.chooseGameDirectoryPrompt = t(u8"请选择地下城与勇士根目录(存放[package.lst]的目录)");
  texts.chooseBackupDirectoryPrompt = t(u8"请选择保存清理出补丁的位置..");
  texts.chooseFolderAgain = t(u8"请选择目录后再试!");
  texts.listMissing = t(u8"LST文件不存在..请重新再选!!");
  texts.notAList = t(u8"LST文件非DNF的文件列表文件..请重新选择!!");
  texts.folderNotInList = t(u8"此LST文件不存在此目录!!");
  texts.scanning = t(u8"扫描中..!");
  texts.startScan = t(u8"开始扫描");
  texts.foundBefore = t(u8"发现 ");
  texts.foundAfter = t(u8" 个补丁文件..请需要清理的文件!");
  texts.nothingFound = t(u8"没发现补丁文件..无需清理!");
  // A system out of threads cannot hash; "nothing found" would be untrue.
  texts.hashingNotStarted = t(u8"无法启动哈希校验线程..请稍后再试!");
  texts.noneTicked = t(u8"请选择需要清理的补丁再试!");
  texts.cleaned = t(u8"清理完毕!");
  // A backup without a chosen folder would land in the drive's root folder.
  texts.noBackupDirectory = t(u8"请先点击[浏览]选择备份目录后再清理!");
  // Moving a file onto itself would keep no copy of it at all.
  texts.backupIsScannedFolder = t(u8"备份目录不能是扫描的补丁目录..请重新选择备份目录!");
  // A file in use cannot be deleted or moved; saying "cleaned" would be untrue.
  texts.notCleanedBefore = t(u8"有 ");
  texts.notCleanedAfter = t(u8" 个文件无法清理(可能正在使用)..已保留在列表中!");
  texts.imagePacks = "ImagePacks2";
  texts.soundPacks = "SoundPacks";
  return texts;
}
}  // namespace

const CleanerTexts& CleanerTexts::Get() {
  static const CleanerTexts texts = MakeTexts();
  return texts;
}
