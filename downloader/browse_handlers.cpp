// The handlers of the second page's region, folder and keyword controls.
#include "downloader/browse_handlers.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "downloader/config_file.h"
#include "downloader/config_password.h"
#include "downloader/home_layout.h"
#include "downloader/keyword_search.h"
#include "downloader/region_list.h"
#include "platform/files.h"
#include "shell/control_names.h"

namespace {
using namespace control;

constexpr char kBaseUrlKey[] = "file";
constexpr int kEnterKey = 13;

std::string ConfigPath(const DownloaderState& state) { return ConfigFilePath(state.RunDirectory); }

// The text of a combo box's current item; empty when none is current.
std::string ChosenItem(const Window& window, Name combo) {
  const int current = window.ComboCurrent(combo);
  return current < 0 ? std::string() : window.ComboItem(combo, current);
}

// The list name of the chosen region; empty when the configuration gives none.
std::string ChosenListName(const Window& window, const DownloaderState& state) {
  std::string config = ConfigPath(state);
  return ReadConfigValue(config, kConfigPassword, kListNameSection, ChosenItem(window, 组合框_区域服务器));
}

// The archive names of a region's list file; none when it can't be read,
// or when the list name would lead out of the list folder.
ArchiveNames ReadListFile(const DownloaderState& state, const std::string& listName) {
  if (!PathPartRefusal(listName).empty()) return {};
  return ReadRegionList(ReadWholeFile(RegionListPath(state.RunDirectory, listName)));
}

// Fills the list box with the chosen folder's names, all of them or those
// that contain `keyword`; with no folder chosen it stays as it is.
void ShowChosenFolder(Window& window, const DownloaderState& state, const std::optional<std::string>& keyword) {
  // The snapshot stays whole while the engine's thread may load new names.
  const std::shared_ptr<const ArchiveNames> names = state.ArchiveNames.Snapshot();
  const std::vector<std::string>* folder = FolderNames(*names, ChosenItem(window, 组合框_文件夹目录));
  if (!folder) return;
  if (!keyword) {
    window.ListSetItems(列表框_NPK文件列表, *folder);
    return;
  }
  std::vector<std::string> found;
  for (std::size_t at : NamesContaining(*folder, *keyword)) found.push_back((*folder)[at]);
  window.ListSetItems(列表框_NPK文件列表, found);
}
}  // namespace

void FillRegionList(Window& window, DownloaderState& state) {
  std::string config = ConfigPath(state);
  // A file that can't be read adds no region and is not reported.
  ListConfigKeys(config, kConfigPassword, kListNameSection, state.RegionNames);
  for (const std::string& region : state.RegionNames) window.ComboAppend(组合框_区域服务器, region);
}

void OnRegionSelected(Window& window, DownloaderState& state) {
  window.ListClear(列表框_NPK文件列表);
  std::string config = ConfigPath(state);
  const std::string listName = ChosenListName(window, state);
  state.RegionBaseUrl.Set(ReadConfigValue(config, kConfigPassword, listName, kBaseUrlKey));
  LoadRegionList(window, state);
}

void LoadRegionList(Window& window, DownloaderState& state) {
  state.ArchiveNames.Replace(ReadListFile(state, ChosenListName(window, state)));
  ShowFolderList(window, state);
}

void ShowFolderList(Window& window, const DownloaderState& state) { ShowChosenFolder(window, state, std::nullopt); }

void SearchKeyword(Window& window, const DownloaderState& state) {
  ShowChosenFolder(window, state, window.Text(编辑框_文件名关键词));
}

void ClearKeyword(Window& window, const DownloaderState& state) {
  ShowFolderList(window, state);
  window.SetText(编辑框_文件名关键词, "");
}

void WireBrowseHandlers(Window& window, DownloaderState& state) {
  window.SetHandler(组合框_区域服务器, [&] { OnRegionSelected(window, state); });
  window.SetHandler(组合框_文件夹目录, [&] { ShowFolderList(window, state); });
  window.SetHandler(按钮_查找关键词, [&] { SearchKeyword(window, state); });
  window.SetKeyHandler(编辑框_文件名关键词, [&](int key) {
    if (key == kEnterKey) SearchKeyword(window, state);
  });
  window.SetHandler(按钮_清空关键词, [&] { ClearKeyword(window, state); });
}
