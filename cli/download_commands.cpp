// pellory-cli download and update-list: the window's archive downloads and
// region list refresh, one after another, over the same controller core.
//
// Each archive's outcome, and the refresh's, goes to standard output in the
// window's words; reasons go to standard error, and on a terminal a
// progress line there too.
#include <CLI/CLI.hpp>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/cli_support.h"
#include "downloader/config_file.h"
#include "downloader/config_password.h"
#include "downloader/download_controller.h"
#include "downloader/home_layout.h"
#include "platform/console.h"
#include "platform/download_transport.h"
#include "platform/files.h"
#include "platform/program.h"
#include "platform/utf8_text.h"

namespace {
constexpr int kMaxConnections = 16;
constexpr auto kProgressPeriod = std::chrono::milliseconds(250);

struct Settings {
  std::string region;
  std::string folder;
  std::vector<std::string> names;
  HomeFolder home;
  int connections = 2;
};

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

void Say(const std::string& text) { WriteConsoleText(text + "\n"); }
void Complain(const std::string& text) { WriteErrorText("pellory-cli: " + text + "\n"); }

std::string ProgressLine(std::int64_t bytes, std::int64_t speed, double total) {
  char line[96];
  const int percent = total > 0 ? static_cast<int>(static_cast<double>(bytes) / total * 100) : 0;
  std::snprintf(line, sizeof line, "\r%lld bytes  %s KB/s  %d%%   ", static_cast<long long>(bytes),
                RoundedNumber(static_cast<double>(speed) / 1024).c_str(), percent);
  return line;
}

// Runs one task on an engine of its own and waits for its end; false when
// the engine refused it.
bool Download(DownloadTask task, const std::string& url, const std::string& savePath) {
  std::atomic<double> total = 0;
  std::promise<std::string> ended;  // why the download failed; empty when it did not
  task.Url = url;
  task.SavePath = savePath;
  task.OnEvent = [&](int code, double value, const std::string& text) {
    if (code == kSizeKnown) total = value;
    if (code == kTaskEnded) ended.set_value(text);
    return 0;
  };
  std::unique_ptr<DownloadEngine> engine = CreateDownloadEngine(CreateDownloadTransport());
  if (!engine->AddTask(task)) {
    engine->Destroy();
    Complain(T(u8"下载任务未能开始: ") + (url.empty() ? T(u8"没有地址") : url));
    return false;
  }
  const bool showProgress = ErrorIsTerminal();
  std::future<std::string> end = ended.get_future();
  while (end.wait_for(kProgressPeriod) != std::future_status::ready)
    if (showProgress) WriteErrorText(ProgressLine(engine->BytesDone(), engine->CurrentSpeed(), total));
  if (showProgress) WriteErrorText("\n");
  // The engine lets the task go once the handler has returned.
  engine->Destroy();
  if (const std::string failure = end.get(); !failure.empty()) Complain("could not download " + url + ": " + failure);
  return true;
}

DownloadTask TaskWith(const Settings& settings) {
  DownloadTask task;
  SetDownloadSettings(task);
  task.Connections = settings.connections;
  return task;
}

bool DownloadArchive(const Settings& settings, const std::string& name) {
  std::string config = settings.home.ConfigFile();
  const std::string listName = ReadConfigValue(config, kConfigPassword, kListNameSection, settings.region);
  const std::string baseUrl = ReadConfigValue(config, kConfigPassword, listName, "file");
  ArchiveDownload plan;
  std::string refusal;
  if (!PlanArchiveDownload(settings.home.path, settings.region, baseUrl, settings.folder, name, plan, refusal)) {
    Complain(refusal);
    return false;
  }
  PrepareArchiveTarget(settings.home.path, settings.region, plan);
  return Download(TaskWith(settings), plan.Url, plan.TargetPath) &&
         UnpackArchive(plan, UnpackerBeside(RunDirectory()));
}

int DownloadArchives(const Settings& settings) {
  bool allDone = true;
  for (const std::string& name : settings.names) {
    const bool done = DownloadArchive(settings, name);
    Say(done ? T(u8"外服文件下载完毕!") : T(u8"外服文件下载失败!"));
    allDone = allDone && done;
  }
  return allDone ? exit_code::kDone : exit_code::kFailed;
}

bool RefreshList(const Settings& settings) {
  ListRefresh plan;
  std::string refusal;
  if (!PlanListRefresh(settings.home.path, settings.region, plan, refusal)) {
    Complain(refusal);
    return false;
  }
  PrepareListTarget(plan);
  return Download(TaskWith(settings), plan.Url, plan.NewPath) && ReplaceListFile(plan);
}

int UpdateList(const Settings& settings) {
  const bool done = RefreshList(settings);
  Say(done ? T(u8"LST文件更新完毕!") : T(u8"LST文件更新失败!"));
  return done ? exit_code::kDone : exit_code::kFailed;
}
}  // namespace

void AddDownloadCommands(CLI::App& app, Command& chosen) {
  auto settings = std::make_shared<Settings>();

  CLI::App* download = app.add_subcommand(
      "download", "Download archives of a region's folder from its server and unpack them with Ferrule");
  download->add_option("REGION", settings->region, "The region, as the configuration names it")->required();
  download->add_option("--folder", settings->folder, "The folder the archives belong to")
      ->required()
      ->check(CLI::IsMember({"ImagePacks2", "SoundPacks", "Music"}));
  download->add_option("NAME", settings->names, "Archive names as the region's list gives them (no .spk)")
      ->required();
  AddHomeOption(*download, settings->home);
  download->add_option("--connections", settings->connections, "Parallel connections for one file")
      ->check(CLI::Range(1, kMaxConnections))
      ->capture_default_str();
  download->callback([&chosen, settings] { chosen = [settings] { return DownloadArchives(*settings); }; });

  CLI::App* update = app.add_subcommand("update-list", "Download a new copy of a region's list file");
  update->add_option("REGION", settings->region, "The region, as the configuration names it")->required();
  AddHomeOption(*update, settings->home);
  update->callback([&chosen, settings] { chosen = [settings] { return UpdateList(*settings); }; });
}
