// The scan as the window runs it: button states around it, the progress bar,
// the result rows and the closing message.
#include <algorithm>
#include <thread>

#include "cleaner/cleaner_texts.h"
#include "shell/control_names.h"
#include "platform/files.h"
#include "cleaner/package_index.h"
#include "cleaner/scan_run.h"
#include "shell/window.h"

int DefaultHashWorkers() {
  unsigned cores = std::thread::hardware_concurrency();
  return static_cast<int>(std::clamp(cores, 1u, 4u));
}

namespace {
using namespace control;

class WindowScanEvents final : public ScanEvents {
 public:
  WindowScanEvents(Window& window, std::string folder) : window_(window), folder_(std::move(folder)) {}
  void Waiting() override { window_.ProcessWaitingMessages(); }
  bool Stopped() override { return window_.IsClosed(); }
  void Judged(const std::string& name, Verdict verdict) override {
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

  auto listed = std::find(FolderNames.begin(), FolderNames.end(), folder);
  if (listed == FolderNames.end()) {
    window.ShowMessage(CleanerTexts::Get().folderNotInList, CleanerTexts::Get().warningTitle, box::kError);
    return false;
  }
  ReadFolderFiles(static_cast<std::size_t>(listed - FolderNames.begin()), run.gameDirectory);
  // The scan walks its own table, so a new Load meanwhile cannot pull it away.
  const OfficialTable table({FileNames, FileSizes, FileDigests}, folderPath, run.skipNames);
  FileNames = table.Files().names;
  FileSizes = table.Files().sizes;
  FileDigests = table.Files().digests;
  window.SetProgressMaximum(进度条_扫描, static_cast<int>(table.Size()));

  WindowScanEvents events(window, folder);
  JudgeFiles(folderPath, found, table, run.options, events);
  if (window.IsClosed()) return true;
  ReportFindings(window);
  return true;
}
