// The program's package index: loading the folder table when the game
// directory is chosen, and the scan of one folder as the window runs it,
// with the button states around it, the progress bar, the result rows and
// the closing message.
#include "cleaner/package_index.h"

#include "cleaner/cleaner_texts.h"
#include "cleaner/package_list.h"
#include "cleaner/scan_run.h"
#include "platform/files.h"
#include "shell/control_names.h"
#include "shell/window.h"

namespace {
using namespace control;

void ShowListProblem(Window& window, ListStatus status) {
  window.ShowMessage(ListStatusText(status), CleanerTexts::Get().warningTitle, box::kError);
}

class WindowScanEvents final : public ScanEvents {
 public:
  WindowScanEvents(Window& window, std::string folder) : window_(window), folder_(std::move(folder)) {}
  void Waiting() override { window_.ProcessWaitingMessages(); }
  bool Stopped() override { return window_.IsClosed(); }
  // An unreadable file shows as a digest error: the list has no other words for it.
  void Judged(const std::string& name, Verdict verdict, FileError) override {
    window_.SetProgressPosition(进度条_扫描, window_.ProgressPosition(进度条_扫描) + 1);
    if (verdict == Verdict::Passes) return;
    int row = window_.AppendRow(超级列表框_扫描结果, name);
    window_.SetCell(超级列表框_扫描结果, row, 1, folder_);
    window_.SetCell(超级列表框_扫描结果, row, 2, VerdictText(verdict));
  }

 private:
  Window& window_;
  std::string folder_;
};

void ReportFindings(Window& window) {
  const CleanerTexts& texts = CleanerTexts::Get();
  const int rows = window.RowCount(超级列表框_扫描结果);
  window.SetProgressPosition(进度条_扫描, window.ProgressMaximum(进度条_扫描));
  if (rows != 0)
    window.ShowMessage(texts.foundBefore + std::to_string(rows) + texts.foundAfter, texts.hintTitle, box::kWarning);
  else
    window.ShowMessage(texts.nothingFound, texts.hintTitle, box::kInformation);
}
}  // namespace

void PackageIndex::Release() {
  FolderNames.clear();
  FolderOffsets.clear();
  FileNames.clear();
  FileSizes.clear();
  FileDigests.clear();
}

bool PackageIndex::Load(const std::string& directory, Window& window) {
  Release();
  FolderTable table;
  if (ListStatus status = ReadPackageFolders(directory, table); status != ListStatus::Read) {
    ShowListProblem(window, status);
    return false;
  }
  FolderNames = std::move(table.names);
  FolderOffsets = std::move(table.offsets);
  return true;
}

void PackageIndex::ScanKind(int kind, ScanRun& run) {
  const CleanerTexts& texts = CleanerTexts::Get();
  Window& window = run.window;
  window.SetEnabled(按钮_开始扫描, false);
  window.SetText(按钮_开始扫描, texts.scanning);
  window.SetEnabled(按钮_清理文件, false);
  ScanFolder(kind == 1 ? texts.imagePacks : texts.soundPacks, run);
  window.SetEnabled(分组框1, true);
  window.SetEnabled(按钮_开始扫描, true);
  window.SetEnabled(按钮_清理文件, true);
  window.SetText(按钮_开始扫描, texts.startScan);
}

bool PackageIndex::ScanFolder(const std::string& folder, ScanRun& run) {
  Window& window = run.window;
  window.SetProgressPosition(进度条_扫描, 0);
  FileNames.clear();
  FileSizes.clear();
  FileDigests.clear();
  const std::string folderPath = JoinPath(run.gameDirectory, folder);
  const std::vector<std::string> found = FoundNames(folderPath);

  OfficialFiles files;
  if (ListStatus status = ReadListedFolder(run.gameDirectory, FolderNames, FolderOffsets, folder, files);
      status != ListStatus::Read) {
    ShowListProblem(window, status);
    return false;
  }
  // The scan walks a table of its own, so that a Load meanwhile (another
  // game directory chosen) cannot pull it away; the index keeps it afterwards.
  OfficialTable table(std::move(files), folderPath, run.skipNames);
  window.SetProgressMaximum(进度条_扫描, static_cast<int>(table.Size()));

  WindowScanEvents events(window, folder);
  const ScanEnd end = JudgeFiles(folderPath, found, table, run.options, events);
  OfficialFiles kept = std::move(table).TakeFiles();
  FileNames = std::move(kept.names);
  FileSizes = std::move(kept.sizes);
  FileDigests = std::move(kept.digests);
  if (end == ScanEnd::Stopped || window.IsClosed()) return true;
  if (end == ScanEnd::HashingNotStarted) {
    const CleanerTexts& texts = CleanerTexts::Get();
    window.ShowMessage(texts.hashingNotStarted, texts.warningTitle, box::kError);
    return true;
  }
  ReportFindings(window);
  return true;
}
