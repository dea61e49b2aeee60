// The handlers of the second page's downloads.
#include "downloader/download_handlers.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "downloader/browse_handlers.h"
#include "platform/files.h"
#include "platform/utf8_text.h"
#include "shell/control_names.h"

namespace {
using namespace control;

constexpr int kArchivePurpose = 1;
constexpr int kListPurpose = 2;
constexpr int kTimerPeriod = 10;  // milliseconds
constexpr int kSystemModalInformation = box::kSystemModal + box::kInformation;
constexpr int kSystemModalError = box::kSystemModal + box::kError;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

struct Texts {
  std::string idle = T(u8"空闲中!");
  std::string downloading = T(u8"下载此文件中 [");
  std::string unpacking = T(u8"解包此文件中 [");
  std::string sizeLabel = T(u8"文件大小:"), doneLabel = T(u8"已下载:"), speedLabel = T(u8"下载速度:");
  std::string idleSuffix = T(u8"空闲");
  std::string speedUnit = T(u8"kb/秒");
  std::string archiveDone = T(u8"外服文件下载完毕!"), archiveFailed = T(u8"外服文件下载失败!");
  std::string listDone = T(u8"LST文件更新完毕!"), listFailed = T(u8"LST文件更新失败!");
  std::string chooseRegion = T(u8"请选择一个区域服务器再试!");
  std::string notStarted = T(u8"下载任务未能开始");
  std::string hintTitle = T(u8"提示!"), warningTitle = T(u8"警告!");

  static const Texts& Get() {
    static const Texts texts;
    return texts;
  }
};

bool IsIdle(const Window& window) { return window.Text(标签4) == Texts::Get().idle; }

std::string ChosenItem(const Window& window, Name combo) {
  const int current = window.ComboCurrent(combo);
  return current < 0 ? std::string() : window.ComboItem(combo, current);
}

std::string ChosenArchive(const Window& window) {
  const int current = window.ListCurrent(列表框_NPK文件列表);
  return current < 0 ? std::string() : window.ListItem(列表框_NPK文件列表, current);
}

void SetRegionControlsEnabled(Window& window, bool enabled) {
  window.SetEnabled(组合框_区域服务器, enabled);
  window.SetEnabled(组合框_文件夹目录, enabled);
}

// The timer stops and the labels say that nothing is downloading.
void StopProgressDisplay(Window& window) {
  const Texts& texts = Texts::Get();
  window.SetTimerPeriod(时钟1, 0);
  window.SetText(标签_已下载, texts.doneLabel + texts.idleSuffix);
  window.SetText(标签_下载速度, texts.speedLabel + texts.idleSuffix);
  window.SetText(标签_文件大小, texts.sizeLabel + texts.idleSuffix);
  window.SetProgressPosition(进度条1, 0);
}

// A download that never reached the engine ends as a failed one would,
// so that the page is free again for the next.
void EndWithoutTask(Window& window, DownloaderState& state, const std::string& reason) {
  const Texts& texts = Texts::Get();
  StopProgressDisplay(window);
  const std::string& failed = state.DownloadPurpose == kListPurpose ? texts.listFailed : texts.archiveFailed;
  window.ShowMessage(reason.empty() ? failed : failed + "\n" + reason, texts.warningTitle, kSystemModalError);
  window.SetText(标签4, texts.idle);
  if (state.DownloadPurpose == kListPurpose) SetRegionControlsEnabled(window, true);
}

// The pause before a refresh starts, on the window's thread: the window
// keeps answering meanwhile. Its handlers can't start another download, as
// the caption is busy and the region controls are disabled.
void PauseAnswering(Window& window, int milliseconds) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(milliseconds);
  while (!window.IsClosed()) {
    window.ProcessWaitingMessages();
    const Clock::duration left = end - Clock::now();
    if (left <= Clock::duration::zero()) return;
    std::this_thread::sleep_for(std::min<Clock::duration>(left, std::chrono::milliseconds(kTimerPeriod)));
  }
}

ListRefresh CurrentListRefresh(const Window& window, const DownloaderState& state, std::string& refusal) {
  ListRefresh plan;
  PlanListRefresh(state.RunDirectory, ChosenItem(window, 组合框_区域服务器), plan, refusal);
  return plan;
}

void PrepareArchive(Window& window, DownloaderState& state) {
  ArchiveDownload plan;
  std::string refusal;
  if (!PlanArchiveDownload(state.RunDirectory, state.DownloadRegion, state.RegionBaseUrl.Get(),
                           ChosenItem(window, 组合框_文件夹目录), state.DownloadArchiveName, plan, refusal))
    return EndWithoutTask(window, state, refusal);
  PrepareArchiveTarget(state.RunDirectory, state.DownloadRegion, plan);
  state.DownloadUrl = plan.Url;
  state.DownloadFileName = plan.FileName;
  state.DownloadTargetPath = plan.TargetPath;
  SubmitDownloadTask(window, state);
}

void PrepareList(Window& window, DownloaderState& state) {
  std::string refusal;
  ListRefresh plan = CurrentListRefresh(window, state, refusal);
  if (!refusal.empty()) return EndWithoutTask(window, state, refusal);
  PrepareListTarget(plan);
  PauseAnswering(window, state.SettleMilliseconds);
  if (window.IsClosed()) return;
  plan = CurrentListRefresh(window, state, refusal);
  if (!refusal.empty()) return EndWithoutTask(window, state, refusal);
  state.DownloadTargetPath = plan.NewPath;
  SubmitDownloadTask(window, state);
}

void EndArchiveDownload(Window& window, DownloaderState& state) {
  const Texts& texts = Texts::Get();
  window.SetText(标签4, texts.unpacking + state.DownloadArchiveName + "]");
  const ArchiveDownload plan{state.DownloadUrl, state.DownloadFileName, state.DownloadTargetPath,
                             JoinPath(RegionFolder(state.RunDirectory, state.DownloadRegion), state.DownloadArchiveName)};
  if (state.RunUnpacker && UnpackArchive(plan, state.RunUnpacker))
    window.ShowMessage(texts.archiveDone, texts.hintTitle, kSystemModalInformation);
  else
    window.ShowMessage(texts.archiveFailed, texts.warningTitle, kSystemModalError);
  window.SetText(标签4, texts.idle);
}

void EndListRefresh(Window& window, DownloaderState& state) {
  const Texts& texts = Texts::Get();
  std::this_thread::sleep_for(std::chrono::milliseconds(state.SettleMilliseconds));
  std::string refusal;
  const ListRefresh plan = CurrentListRefresh(window, state, refusal);
  if (refusal.empty() && ReplaceListFile(plan))
    window.ShowMessage(texts.listDone, texts.hintTitle, kSystemModalInformation);
  else
    window.ShowMessage(texts.listFailed, texts.warningTitle, kSystemModalError);
  window.SetText(标签4, texts.idle);
  OnRegionSelected(window, state);
  SetRegionControlsEnabled(window, true);
}
}  // namespace

void OnArchiveDoubleClicked(Window& window, DownloaderState& state) {
  if (!IsIdle(window)) return;
  // A double-click beside the items chooses nothing to download.
  const std::string archive = ChosenArchive(window);
  if (archive.empty()) return;
  state.DownloadPurpose = kArchivePurpose;
  state.DownloadRegion = ChosenItem(window, 组合框_区域服务器);
  state.DownloadArchiveName = archive;
  window.SetText(标签4, Texts::Get().downloading + archive + "]");
  PrepareDownload(window, state);
}

void UpdateRegionListFile(Window& window, DownloaderState& state) {
  const Texts& texts = Texts::Get();
  const std::string region = ChosenItem(window, 组合框_区域服务器);
  if (region.empty()) {
    window.ShowMessage(texts.chooseRegion, texts.warningTitle, kSystemModalError);
    return;
  }
  if (!IsIdle(window)) return;
  SetRegionControlsEnabled(window, false);
  state.DownloadPurpose = kListPurpose;
  std::string refusal;
  const ListRefresh plan = CurrentListRefresh(window, state, refusal);
  window.SetText(标签4, texts.downloading + plan.ListName + ".lst]");
  state.DownloadUrl = plan.Url;
  PrepareDownload(window, state);
}

void PrepareDownload(Window& window, DownloaderState& state) {
  if (state.DownloadPurpose == kArchivePurpose) PrepareArchive(window, state);
  if (state.DownloadPurpose == kListPurpose) PrepareList(window, state);
}

void SubmitDownloadTask(Window& window, DownloaderState& state) {
  ::DownloadTask& task = *state.DownloadTask;
  SetDownloadSettings(task);
  task.OnEvent = [&window, &state](int code, double value, const std::string& text) {
    return OnDownloadEvent(window, state, code, value, text);
  };
  window.SetTimerPeriod(时钟1, kTimerPeriod);
  task.Url = state.DownloadUrl;
  task.SavePath = state.DownloadTargetPath;
  // A refused task raises no event: without this the page would stay busy.
  if (!state.DownloadEngine || !state.DownloadEngine->AddTask(task))
    EndWithoutTask(window, state, Texts::Get().notStarted);
}

int OnDownloadEvent(Window& window, DownloaderState& state, int code, double value, const std::string&) {
  if (code == kSizeKnown) {
    state.DownloadTotalSize = value;
    window.SetText(标签_文件大小, Texts::Get().sizeLabel + RoundedNumber(value / 1024) + "KB");
  } else if (code == kTaskEnded) {
    StopProgressDisplay(window);
    if (state.DownloadPurpose == kArchivePurpose) EndArchiveDownload(window, state);
    if (state.DownloadPurpose == kListPurpose) EndListRefresh(window, state);
  }
  return 0;
}

void OnDownloadTimer(Window& window, DownloaderState& state) {
  const Texts& texts = Texts::Get();
  DownloadEngine& engine = *state.DownloadEngine;
  const double bytes = static_cast<double>(engine.BytesDone());
  window.SetText(标签_下载速度,
                 texts.speedLabel + RoundedNumber(static_cast<double>(engine.CurrentSpeed()) / 1024) + texts.speedUnit);
  window.SetText(标签_已下载, texts.doneLabel + RoundedNumber(bytes / 1024) + "KB");
  const double total = state.DownloadTotalSize;
  window.SetProgressPosition(进度条1, total == 0 ? 0 : static_cast<int>(bytes / total * 100));
}

void WireDownloadHandlers(Window& window, DownloaderState& state) {
  window.SetHandler(列表框_NPK文件列表, [&] { OnArchiveDoubleClicked(window, state); });
  window.SetHandler(按钮_更新LST文件, [&] { UpdateRegionListFile(window, state); });
  window.SetHandler(时钟1, [&] {
    if (state.DownloadEngine) OnDownloadTimer(window, state);
  });
}
