// pellory-cli: the patch scan and cleaning without the window, for people
// who keep many game installs. Same core as the window, same verdicts.
//
//   pellory-cli scan  GAME_DIR [options]    lists the findings
//   pellory-cli clean GAME_DIR [options]    deletes (or backs up) the findings
//
// Options: --folder ImagePacks2|SoundPacks (default ImagePacks2),
//          --compare none|size|hash (default none), --skip-list FILE
//          (default Skip_Npk.ini beside the program), --workers N (hashing
//          threads), --backup DIR (clean: move findings there instead).
// Each finding is printed as: name TAB folder TAB verdict.
#include <cstdlib>
#include <string>
#include <vector>

#include "cleaner/cleaner_texts.h"
#include "cleaner/cleaning.h"
#include "platform/console.h"
#include "platform/files.h"
#include "cleaner/package_list.h"
#include "cleaner/patch_scan.h"
#include "platform/program.h"
#include "cleaner/skip_list.h"

namespace {
struct Options {
  bool clean = false, backupGiven = false;
  std::string gameDirectory, folder = "ImagePacks2", skipList, backup;
  ScanOptions scan;
};

int Usage() {
  WriteErrorText(
      "usage: pellory-cli scan|clean GAME_DIR [--folder ImagePacks2|SoundPacks] [--compare none|size|hash]\n"
      "                   [--skip-list FILE] [--workers N] [--backup DIR]\n");
  return 2;
}

bool ParseComparison(const std::string& name, ScanOptions& scan) {
  if (name != "none" && name != "size" && name != "hash") return false;
  scan.compareSizes = name == "size";
  scan.compareDigests = name == "hash";
  return true;
}

bool ParseOptions(const std::vector<std::string>& args, Options& options) {
  if (args.size() < 2 || (args[0] != "scan" && args[0] != "clean")) return false;
  options.clean = args[0] == "clean";
  options.gameDirectory = args[1];
  options.skipList = JoinPath(RunDirectory(), "Skip_Npk.ini");
  for (std::size_t i = 2; i + 1 < args.size(); i += 2) {
    const std::string& name = args[i];
    const std::string& value = args[i + 1];
    if (name == "--folder" && (value == "ImagePacks2" || value == "SoundPacks")) options.folder = value;
    else if (name == "--compare" && ParseComparison(value, options.scan)) continue;
    else if (name == "--skip-list") options.skipList = value;
    else if (name == "--workers" && std::atoi(value.c_str()) > 0) options.scan.hashWorkers = std::atoi(value.c_str());
    else if (name == "--backup" && options.clean) {
      options.backup = value;
      options.backupGiven = true;
    }
    else return false;
  }
  return args.size() % 2 == 0;
}

// The official table of the folder; otherwise the message that says why
// there is none.
std::string ReadTable(const Options& options, OfficialFiles& files) {
  const CleanerTexts& texts = CleanerTexts::Get();
  const std::string path = JoinPath(options.gameDirectory, "package.lst");
  if (!FileExists(path)) return texts.listMissing;
  File list = File::Open(path, File::Mode::ReadShared);
  FileSource source(list);
  FolderTable table;
  if (ReadFolderTable(source, table) != ListMark::Valid) return texts.notAList;
  for (std::size_t i = 0; i < table.names.size(); ++i) {
    if (table.names[i] != options.folder) continue;
    ReadFolderRecords(source, table.offsets[i], files);
    return {};
  }
  return texts.folderNotInList;
}

class PrintingEvents final : public ScanEvents {
 public:
  explicit PrintingEvents(std::string folder) : folder_(std::move(folder)) {}
  void Waiting() override {}
  void Judged(const std::string& name, Verdict verdict) override {
    if (verdict == Verdict::Passes) return;
    WriteConsoleText(name + "\t" + folder_ + "\t" + VerdictText(verdict) + "\n");
    findings.push_back(name);
  }
  std::vector<std::string> findings;

 private:
  std::string folder_;
};

int Clean(const Options& options, const std::string& folderPath, const std::vector<std::string>& findings) {
  int failures = 0;
  for (const std::string& name : findings) {
    const CleanOutcome outcome = CleanFinding(folderPath, name, options.backup);
    if (!outcome.cleaned) {
      WriteErrorText("pellory-cli: could not " + std::string(options.backup.empty() ? "delete " : "back up ") +
                     JoinPath(folderPath, name) + ": " + outcome.reason + "\n");
      ++failures;
    }
  }
  const CleanerTexts& texts = CleanerTexts::Get();
  if (failures != 0) {
    WriteErrorText(texts.notCleanedBefore + std::to_string(failures) + texts.notCleanedAfter + "\n");
    return 1;
  }
  WriteErrorText(texts.cleaned + "\n");
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(ProgramArguments(argc, argv, nullptr), options)) return Usage();
  const std::string folderPath = JoinPath(options.gameDirectory, options.folder);
  if (options.backupGiven) {
    switch (CheckBackupFolder(options.backup, folderPath)) {
      case BackupFolderCheck::Usable: break;
      case BackupFolderCheck::NotGiven: case BackupFolderCheck::Missing:
        WriteErrorText("pellory-cli: no backup folder " + options.backup + "\n");
        return 2;
      case BackupFolderCheck::IsScannedFolder:
        WriteErrorText("pellory-cli: the backup folder " + options.backup + " is the scanned folder\n");
        return 2;
    }
  }
  OfficialFiles files;
  if (std::string problem = ReadTable(options, files); !problem.empty()) {
    WriteErrorText(problem + "\n");
    return 1;
  }
  std::vector<std::string> skipNames;
  ReadSkipList(options.skipList, options.folder, skipNames);
  const OfficialTable table(std::move(files), folderPath, skipNames);
  PrintingEvents events(options.folder);
  JudgeFiles(folderPath, FoundNames(folderPath), table, options.scan, events);

  const CleanerTexts& texts = CleanerTexts::Get();
  if (events.findings.empty()) {
    WriteErrorText(texts.nothingFound + "\n");
    return 0;
  }
  WriteErrorText(texts.foundBefore + std::to_string(events.findings.size()) + texts.foundAfter + "\n");
  return options.clean ? Clean(options, folderPath, events.findings) : 0;
}
