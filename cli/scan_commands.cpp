// pellory-cli scan and clean: the window's patch scan of one game folder,
// printed, and the cleaning of what it finds.
//
// Each finding goes to standard output as name TAB folder TAB verdict, with
// the verdict texts of the window's result list. Everything else (the
// closing count, files that could not be read or cleaned, and why) goes to
// standard error, so that a script can take standard output as it stands.
#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

#include "cleaner/cleaner_texts.h"
#include "cleaner/package_list.h"
#include "cleaner/patch_scan.h"
#include "cleaner/skip_list.h"
#include "cleaner/cleaning.h"
#include "cli/commands.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/program.h"

namespace {
// More hashing threads than this only wait for the disk.
constexpr int kMaxWorkers = 64;

struct Settings {
  std::string gameDirectory;
  std::string folder = "ImagePacks2";
  std::string compare = "none";
  std::string skipList = JoinPath(RunDirectory(), "Skip_Npk.ini");
  int workers = DefaultHashWorkers();
  std::string backup;
  CLI::Option* backupOption = nullptr;  // clean only

  std::string FolderPath() const { return JoinPath(gameDirectory, folder); }
  bool BacksUp() const { return backupOption && backupOption->count() > 0; }
};

void AddScanOptions(CLI::App& command, Settings& settings) {
  command.add_option("GAME_DIR", settings.gameDirectory, "The game's root directory, which holds package.lst")
      ->required();
  command.add_option("--folder", settings.folder, "The folder to scan")
      ->check(CLI::IsMember({"ImagePacks2", "SoundPacks"}))
      ->capture_default_str();
  command.add_option("--compare", settings.compare, "Also compare each official file's size or SHA-256 digest")
      ->check(CLI::IsMember({"none", "size", "hash"}))
      ->capture_default_str();
  command.add_option("--skip-list", settings.skipList, "The skip list (default: Skip_Npk.ini beside the program)");
  command.add_option("--workers", settings.workers, "Hashing threads (default: the cores, at most 4)")
      ->check(CLI::Range(1, kMaxWorkers));
}

ScanOptions ScanOptionsOf(const Settings& settings) {
  ScanOptions options;
  options.compareSizes = settings.compare == "size";
  options.compareDigests = settings.compare == "hash";
  options.hashWorkers = settings.workers;
  return options;
}

class PrintingEvents final : public ScanEvents {
 public:
  explicit PrintingEvents(const Settings& settings) : folder_(settings.folder), folderPath_(settings.FolderPath()) {}
  void Waiting() override {}
  // A file that could not be read is no finding: nothing is known of it.
  void Judged(const std::string& name, Verdict verdict, FileError readError) override {
    if (readError != FileError::None) {
      WriteErrorText("pellory-cli: could not read " + JoinPath(folderPath_, name) + ": " + FileErrorText(readError) +
                     "\n");
      ++unreadable;
      return;
    }
    if (verdict == Verdict::Passes) return;
    WriteConsoleText(name + "\t" + folder_ + "\t" + VerdictText(verdict) + "\n");
    findings.push_back(name);
  }

  std::vector<std::string> findings;
  std::size_t unreadable = 0;

 private:
  std::string folder_, folderPath_;
};

// Scans and prints the findings into `events`; kFailed when there is no
// usable list, or not every file could be judged.
int Scan(const Settings& settings, PrintingEvents& events) {
  OfficialFiles files;
  if (ListStatus status = ReadOfficialFiles(settings.gameDirectory, settings.folder, files);
      status != ListStatus::Read) {
    WriteErrorText(ListStatusText(status) + "\n");
    return exit_code::kFailed;
  }
  std::vector<std::string> skipNames;
  ReadSkipList(settings.skipList, settings.folder, skipNames);
  const std::string folderPath = settings.FolderPath();
  const OfficialTable table(std::move(files), folderPath, skipNames);
  if (JudgeFiles(folderPath, FoundNames(folderPath), table, ScanOptionsOf(settings), events) ==
      ScanEnd::HashingNotStarted) {
    WriteErrorText("pellory-cli: could not start a thread for hashing\n");
    return exit_code::kFailed;
  }
  const CleanerTexts& texts = CleanerTexts::Get();
  if (events.findings.empty())
    WriteErrorText(texts.nothingFound + "\n");
  else
    WriteErrorText(texts.foundBefore + std::to_string(events.findings.size()) + texts.foundAfter + "\n");
  return events.unreadable == 0 ? exit_code::kDone : exit_code::kFailed;
}

// kDone, or the exit code of a backup folder that cannot take the findings.
int CheckBackup(const Settings& settings) {
  std::string problem;
  switch (CheckBackupFolder(settings.backup, settings.FolderPath())) {
    case BackupFolderCheck::Usable: return exit_code::kDone;
    case BackupFolderCheck::NotGiven: problem = "--backup names no folder"; break;
    case BackupFolderCheck::Missing: problem = "no backup folder " + settings.backup; break;
    case BackupFolderCheck::IsScannedFolder: problem = "the backup folder is the scanned folder " + settings.backup; break;
  }
  WriteErrorText("pellory-cli: " + problem + "\n");
  return exit_code::kWrongCommandLine;
}

int CleanFindings(const Settings& settings, const std::vector<std::string>& findings) {
  const std::string backup = settings.BacksUp() ? settings.backup : std::string();
  const std::string folderPath = settings.FolderPath();
  std::size_t failures = 0;
  for (const std::string& name : findings) {
    const CleanOutcome outcome = CleanFinding(folderPath, name, backup);
    if (outcome.cleaned) continue;
    WriteErrorText("pellory-cli: could not " + std::string(backup.empty() ? "delete " : "back up ") +
                   JoinPath(folderPath, name) + ": " + outcome.reason + "\n");
    ++failures;
  }
  const CleanerTexts& texts = CleanerTexts::Get();
  if (failures != 0) {
    WriteErrorText(texts.notCleanedBefore + std::to_string(failures) + texts.notCleanedAfter + "\n");
    return exit_code::kFailed;
  }
  WriteErrorText(texts.cleaned + "\n");
  return exit_code::kDone;
}

int RunScan(const Settings& settings) {
  PrintingEvents events(settings);
  return Scan(settings, events);
}

// The backup folder is checked before anything is scanned, so that a wrong
// one costs no time and touches nothing.
int RunClean(const Settings& settings) {
  if (settings.BacksUp())
    if (int refused = CheckBackup(settings); refused != exit_code::kDone) return refused;
  PrintingEvents events(settings);
  const int scanned = Scan(settings, events);
  if (events.findings.empty()) return scanned;
  const int cleaned = CleanFindings(settings, events.findings);
  return scanned != exit_code::kDone ? scanned : cleaned;
}
}  // namespace

void AddScanCommands(CLI::App& app, Command& chosen) {
  // The settings outlive this function: the chosen command reads them.
  auto scanSettings = std::make_shared<Settings>();
  CLI::App* scan = app.add_subcommand("scan", "List the files of a game folder that the game did not ship");
  AddScanOptions(*scan, *scanSettings);
  scan->callback([&chosen, scanSettings] { chosen = [scanSettings] { return RunScan(*scanSettings); }; });

  auto cleanSettings = std::make_shared<Settings>();
  CLI::App* clean = app.add_subcommand("clean", "Scan like scan, then delete the findings or move them to a backup folder");
  AddScanOptions(*clean, *cleanSettings);
  cleanSettings->backupOption =
      clean->add_option("--backup", cleanSettings->backup, "Move the findings into this existing folder instead");
  clean->callback([&chosen, cleanSettings] { chosen = [cleanSettings] { return RunClean(*cleanSettings); }; });
}
