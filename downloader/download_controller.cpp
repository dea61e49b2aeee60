#include "downloader/download_controller.h"

#include <cmath>
#include <cstdio>

#include "downloader/config_file.h"
#include "downloader/config_password.h"
#include "downloader/home_layout.h"
#include "platform/files.h"
#include "platform/hidden_program.h"
#include "platform/utf8_text.h"

namespace {
constexpr char kListAddressKey[] = "lst";
constexpr char kNewCopySuffix[] = ".new";
constexpr char kArchiveExtension[] = ".spk";

std::string ConfigPath(const std::string& runDirectory) { return ConfigFilePath(runDirectory); }

// The address's bytes after its last "/", or the whole address without one.
std::string AfterLastSlash(const std::string& url) {
  const std::size_t slash = url.rfind('/');
  return slash == std::string::npos ? url : url.substr(slash + 1);
}

void RemoveIfPresent(const std::string& path) {
  if (FileExists(path)) RemoveFile(path);
}
}  // namespace

UnpackerRun UnpackerBeside(const std::string& folder) {
  return [program = UnpackerProgramPath(folder)](const std::string& spkPath) { RunHiddenAndWait(program, spkPath); };
}

std::string RegionFolder(const std::string& runDirectory, const std::string& region) {
  return JoinPath(DownloadFolderPath(runDirectory), region);
}

bool PlanArchiveDownload(const std::string& runDirectory, const std::string& region, const std::string& baseUrl,
                         const std::string& folder, const std::string& archiveName, ArchiveDownload& plan,
                         std::string& refusal) {
  for (const std::string* part : {&region, &archiveName}) {
    refusal = PathPartRefusal(*part);
    if (!refusal.empty()) {
      refusal += ": " + *part;
      return false;
    }
  }
  plan.Url = baseUrl + folder + "/" + archiveName + kArchiveExtension;
  plan.FileName = AfterLastSlash(plan.Url);
  plan.TargetPath = JoinPath(RegionFolder(runDirectory, region), plan.FileName);
  plan.UnpackedPath = JoinPath(RegionFolder(runDirectory, region), archiveName);
  return true;
}

void PrepareArchiveTarget(const std::string& runDirectory, const std::string& region, const ArchiveDownload& plan) {
  // A folder that exists already is fine; one that can't be made shows in
  // the end, as a download that left no file.
  for (const std::string& folder : {DownloadFolderPath(runDirectory), RegionFolder(runDirectory, region)})
    if (!FolderExists(folder)) CreateFolder(folder);
  RemoveIfPresent(plan.TargetPath);
  RemoveIfPresent(plan.UnpackedPath);
}

bool UnpackArchive(const ArchiveDownload& plan, const UnpackerRun& runUnpacker) {
  runUnpacker(plan.TargetPath);
  return FileExists(plan.UnpackedPath);
}

bool PlanListRefresh(const std::string& runDirectory, const std::string& region, ListRefresh& plan,
                     std::string& refusal) {
  std::string config = ConfigPath(runDirectory);
  plan.ListName = ReadConfigValue(config, kConfigPassword, kListNameSection, region);
  if (plan.ListName.empty()) {
    refusal = TextFromUtf8Source(u8"配置中没有此区域的LST文件名: ") + region;
    return false;
  }
  refusal = PathPartRefusal(plan.ListName);
  if (!refusal.empty()) {
    refusal += ": " + plan.ListName;
    return false;
  }
  plan.Url = ReadConfigValue(config, kConfigPassword, plan.ListName, kListAddressKey);
  plan.ListPath = RegionListPath(runDirectory, plan.ListName);
  plan.NewPath = plan.ListPath + kNewCopySuffix;
  return true;
}

void PrepareListTarget(const ListRefresh& plan) { RemoveIfPresent(plan.NewPath); }

bool ReplaceListFile(const ListRefresh& plan) {
  return FileExists(plan.NewPath) && MoveReplacing(plan.NewPath, plan.ListPath) && FileExists(plan.ListPath);
}

void SetDownloadSettings(DownloadTask& task) {
  task.Flags = 4096;
  task.Connections = 2;
  task.StopWait = 1000;
  task.ConnectTimeout = 5000;
  task.SendTimeout = 5001;
  task.ReceiveTimeout = 10000;
  task.ReceiveBlock = 10240;
}

std::string RoundedNumber(double value) {
  const double scaled = std::fabs(value) * 100 + 1e-12;
  double whole = std::floor(scaled);
  if (scaled - whole >= 0.5) whole += 1;
  double rounded = whole / 100;
  if (value < 0 && rounded != 0) rounded = -rounded;
  char text[32];
  std::snprintf(text, sizeof text, "%.13g", rounded);
  return text;
}
