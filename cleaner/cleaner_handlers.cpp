// The handlers of the patch-cleaning page.
#include "cleaner/cleaner_handlers.h"

#include <vector>

#include "cleaner/cleaner_texts.h"
#include "cleaner/cleaning.h"
#include "shell/control_names.h"
#include "platform/files.h"
#include "cleaner/scan_run.h"
#include "cleaner/skip_list.h"

namespace {
using namespace control;

// The folder dialog; a cancelled one asks the user to choose again.
std::string AskForFolder(Window& window, const std::string& prompt) {
  const CleanerTexts& texts = CleanerTexts::Get();
  std::string folder = window.BrowseFolder(prompt);
  if (folder.empty()) window.ShowMessage(texts.chooseFolderAgain, texts.warningTitle, box::kError);
  return folder;
}

void ChooseGameDirectory(Window& window, CleanerState& state) {
  state.GameDirectory = AskForFolder(window, CleanerTexts::Get().chooseGameDirectoryPrompt);
  if (state.GameDirectory.empty()) return;
  state.PackageIndex.Load(state.GameDirectory, window);
  window.SetText(编辑框_游戏目录, state.GameDirectory);
}

void StartScan(Window& window, CleanerState& state) {
  const CleanerTexts& texts = CleanerTexts::Get();
  window.SetEnabled(分组框1, false);
  state.SkipNames.clear();
  ScanRun run{window, state.GameDirectory, {}, {}};
  run.options.hashWorkers = DefaultHashWorkers();
  run.options.compareSizes = window.IsChecked(选择框_大小对比);
  run.options.compareDigests = window.IsChecked(选择框_哈希对比);
  const std::string skipList = JoinPath(state.RunDirectory, "Skip_Npk.ini");
  struct Kind {
    Name radio;
    const std::string& folder;
    int number;
  };
  for (const Kind& kind : {Kind{单选框_IP, texts.imagePacks, 1}, Kind{单选框_SP, texts.soundPacks, 2}}) {
    if (!window.IsChecked(kind.radio)) continue;
    window.RemoveAllRows(超级列表框_扫描结果);
    ReadSkipList(skipList, kind.folder, state.SkipNames);
    run.skipNames = state.SkipNames;
    // The rows now belong to this directory, whatever is chosen later.
    state.ScannedDirectory = state.GameDirectory;
    state.PackageIndex.ScanKind(kind.number, run);
  }
}

std::vector<int> TickedRows(Window& window) {
  std::vector<int> rows;
  for (int row = 0; row < window.RowCount(超级列表框_扫描结果); ++row)
    if (window.IsRowChecked(超级列表框_扫描结果, row)) rows.push_back(row);
  return rows;
}

// The folder of the scanned directory that a row names, or empty when it
// names none that the scan examined.
std::string RowFolder(Window& window, const CleanerState& state, int row) {
  const CleanerTexts& texts = CleanerTexts::Get();
  const std::string folder = window.Cell(超级列表框_扫描结果, row, 1);
  if (folder != texts.imagePacks && folder != texts.soundPacks) return {};
  return JoinPath(state.ScannedDirectory, folder);
}

// Deletes or backs up the file of one row; true when it is no longer in the
// game folder. Only files of the folder the scan examined are touched; a
// row that names anything else stays, uncleaned.
bool CleanRow(Window& window, const CleanerState& state, int row, bool backup) {
  const std::string folder = RowFolder(window, state, row);
  if (folder.empty()) return false;
  const std::string name = window.Cell(超级列表框_扫描结果, row, 0);
  return CleanFinding(folder, name, backup ? state.BackupDirectory : std::string()).cleaned;
}

// The message that refuses the backup folder for these rows, or empty when
// it may take their files.
std::string BackupFolderRefusal(Window& window, const CleanerState& state, const std::vector<int>& rows) {
  const CleanerTexts& texts = CleanerTexts::Get();
  // A backup without a chosen folder would land in the drive's root folder.
  if (state.BackupDirectory.empty()) return texts.noBackupDirectory;
  for (int row : rows) {
    const std::string folder = RowFolder(window, state, row);
    if (folder.empty()) continue;
    switch (CheckBackupFolder(state.BackupDirectory, folder)) {
      case BackupFolderCheck::Usable: break;
      case BackupFolderCheck::NotGiven: case BackupFolderCheck::Missing: return texts.noBackupDirectory;
      case BackupFolderCheck::IsScannedFolder: return texts.backupIsScannedFolder;
    }
  }
  return {};
}

void CleanTickedFiles(Window& window, CleanerState& state) {
  const CleanerTexts& texts = CleanerTexts::Get();
  if (window.RowCount(超级列表框_扫描结果) == 0) {
    window.ShowMessage(texts.nothingFound, texts.hintTitle, box::kInformation | box::kSystemModal);
    return;
  }
  const std::vector<int> rows = TickedRows(window);
  if (rows.empty()) {
    window.ShowMessage(texts.noneTicked, texts.hintTitle, box::kInformation | box::kSystemModal);
    return;
  }
  const bool backup = window.IsChecked(选择框_备份到目录);
  if (const std::string refusal = backup ? BackupFolderRefusal(window, state, rows) : std::string(); !refusal.empty()) {
    window.ShowMessage(refusal, texts.warningTitle, box::kError);
    return;
  }
  // A file that could not be cleaned keeps its row, so the list still shows it.
  std::vector<int> cleaned;
  for (int row : rows)
    if (CleanRow(window, state, row, backup)) cleaned.push_back(row);
  for (auto row = cleaned.rbegin(); row != cleaned.rend(); ++row) window.RemoveRow(超级列表框_扫描结果, *row);
  const std::size_t left = rows.size() - cleaned.size();
  if (left != 0) {
    window.ShowMessage(texts.notCleanedBefore + std::to_string(left) + texts.notCleanedAfter, texts.warningTitle,
                       box::kWarning);
    return;
  }
  window.ShowMessage(texts.cleaned, texts.congratulationsTitle,
                     backup ? box::kInformation | box::kSystemModal : box::kInformation);
}

void SelectAll(Window& window) {
  const int rows = window.RowCount(超级列表框_扫描结果);
  if (rows == 0) {
    window.SetChecked(选择框_全选, false);
    return;
  }
  const bool ticked = window.IsChecked(选择框_全选);
  for (int row = 0; row < rows; ++row) window.SetRowChecked(超级列表框_扫描结果, row, ticked);
}

void ChooseBackupDirectory(Window& window, CleanerState& state) {
  state.BackupDirectory = AskForFolder(window, CleanerTexts::Get().chooseBackupDirectoryPrompt);
  if (state.BackupDirectory.empty()) return;
  window.SetText(编辑框_备份目录, state.BackupDirectory);
  if (!window.IsChecked(选择框_备份到目录)) window.SetChecked(选择框_备份到目录, true);
}

// Ticking one comparison unticks the other: at most one is on.
void Untick(Window& window, Name other) {
  if (window.IsChecked(other)) window.SetChecked(other, false);
}
}  // namespace

void WireCleanerHandlers(Window& window, CleanerState& state) {
  window.SetHandler(按钮_选择游戏目录, [&] { ChooseGameDirectory(window, state); });
  window.SetHandler(按钮_开始扫描, [&] { StartScan(window, state); });
  window.SetHandler(选择框_哈希对比, [&] { Untick(window, 选择框_大小对比); });
  window.SetHandler(选择框_大小对比, [&] { Untick(window, 选择框_哈希对比); });
  window.SetHandler(按钮_清理文件, [&] { CleanTickedFiles(window, state); });
  window.SetHandler(选择框_全选, [&] { SelectAll(window); });
  window.SetHandler(按钮_备份目录, [&] { ChooseBackupDirectory(window, state); });
}
