// pellory-cli regions and list: the second page's region list and archive
// lists, printed.
//
// regions prints each region as the window would use it: name, list name,
// base address and list address, separated by tabs. list prints a folder's
// archive names from a region's list file, one a line in file order,
// optionally only those that contain a keyword, found as the window's
// keyword search finds them. Names and values are printed as the files hold
// them; nothing in them is ever used to write a file.
#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "downloader/config_file.h"
#include "downloader/config_password.h"
#include "downloader/home_layout.h"
#include "downloader/keyword_search.h"
#include "downloader/region_list.h"
#include "platform/console.h"
#include "platform/files.h"

namespace {
constexpr char kBaseUrlKey[] = "file";
constexpr char kListUrlKey[] = "lst";

int PrintRegions(const HomeFolder& home) {
  std::string config = home.ConfigFile();
  const std::optional<std::vector<std::string>> regions = ReadConfigKeys(config, kConfigPassword, kListNameSection);
  if (!regions) return exit_code::kFailed;
  std::string lines;
  for (const std::string& region : *regions) {
    const std::string listName = ReadConfigValue(config, kConfigPassword, kListNameSection, region);
    lines += region + "\t" + listName + "\t" + ReadConfigValue(config, kConfigPassword, listName, kBaseUrlKey) + "\t" +
             ReadConfigValue(config, kConfigPassword, listName, kListUrlKey) + "\n";
  }
  WriteConsoleText(lines);
  return exit_code::kDone;
}

struct ListSettings {
  std::string region;
  CLI::Option* regionOption = nullptr;
  std::string listFile;
  CLI::Option* listFileOption = nullptr;
  std::string folder;
  std::string keyword;
  CLI::Option* keywordOption = nullptr;
  HomeFolder home;
};

// The region's list file in the home folder; nothing, told on standard
// error, when the configuration gives the region no list name.
std::optional<std::string> RegionListFile(const ListSettings& settings) {
  std::string config = settings.home.ConfigFile();
  const std::string listName = ReadConfigValue(config, kConfigPassword, kListNameSection, settings.region);
  if (!listName.empty()) {
    // A list name that leads out of the list folder names no list of ours.
    if (const std::string refusal = PathPartRefusal(listName); !refusal.empty()) {
      Complain(refusal + ": " + listName);
      return std::nullopt;
    }
    return RegionListPath(settings.home.path, listName);
  }
  // The reader gives the empty text for a file it can't open, too.
  if (ReadConfigKeys(config, kConfigPassword, kListNameSection))
    Complain("no list name for the region " + settings.region + " in " + config);
  return std::nullopt;
}

int PrintArchiveNames(const ListSettings& settings) {
  if (!settings.regionOption->count() && !settings.listFileOption->count()) {
    Complain("name a REGION or a list file with --lst");
    return exit_code::kWrongCommandLine;
  }
  const std::optional<std::string> listFile =
      settings.listFileOption->count() ? settings.listFile : RegionListFile(settings);
  if (!listFile) return exit_code::kFailed;
  const std::optional<std::vector<std::uint8_t>> bytes = ReadInputFile(*listFile);
  if (!bytes) return exit_code::kFailed;
  const ArchiveNames names = ReadRegionList(*bytes);
  const std::vector<std::string>& folder = *FolderNames(names, settings.folder);
  std::string lines;
  if (settings.keywordOption->count()) {
    for (std::size_t at : NamesContaining(folder, settings.keyword)) lines += folder[at] + "\n";
  } else {
    for (const std::string& name : folder) lines += name + "\n";
  }
  WriteConsoleText(lines);
  return exit_code::kDone;
}
}  // namespace

void AddRegionCommands(CLI::App& app, Command& chosen) {
  // The settings outlive this function: the chosen command reads them.
  auto home = std::make_shared<HomeFolder>();
  CLI::App* regions = app.add_subcommand("regions", "Print the foreign regions: name, list name, file and lst address");
  AddHomeOption(*regions, *home);
  regions->callback([&chosen, home] { chosen = [home] { return PrintRegions(*home); }; });

  auto settings = std::make_shared<ListSettings>();
  CLI::App* list = app.add_subcommand("list", "Print a folder's archive names from a region's list file");
  settings->regionOption = list->add_option("REGION", settings->region, "The region, as regions prints its name");
  settings->listFileOption = list->add_option("--lst", settings->listFile, "A list file to read instead of a region's")
                                 ->excludes(settings->regionOption);
  list->add_option("--folder", settings->folder, "The game folder whose names to print")
      ->required()
      ->check(CLI::IsMember({"ImagePacks2", "SoundPacks", "Music"}));
  settings->keywordOption =
      list->add_option("--keyword", settings->keyword, "Only the names that contain this, ASCII letters in any case");
  AddHomeOption(*list, settings->home);
  list->get_option("--home")->excludes(settings->listFileOption);
  list->callback([&chosen, settings] { chosen = [settings] { return PrintArchiveNames(*settings); }; });
}
