#include "tests/downloader/browse_page.h"

#include <algorithm>
#include <stdexcept>

#include "downloader/config_container.h"
#include "downloader/config_password.h"
#include "platform/files.h"

using namespace control;

std::vector<std::uint8_t> SealedConfig(const std::string& text) {
  ConfigSealing sealing{std::vector<std::uint8_t>(kConfigMinSaltSize), {}, kConfigMinIterations};
  if (!FillRandom(sealing.salt) || !FillRandom(sealing.nonce)) throw std::runtime_error("no random bytes");
  auto sealed = SealConfigContainer(text, kConfigPassword, sealing);
  if (!sealed) throw std::runtime_error("the configuration could not be sealed");
  return *sealed;
}

BrowsePage::BrowsePage() { state.RunDirectory = runDirectory.Path(); }

void BrowsePage::WriteConfig(const std::string& text) const { runDirectory.Write("File_Cfg.ini", SealedConfig(text)); }

void BrowsePage::WriteList(const std::string& listName, const Bytes& bytes, const std::string& folder) const {
  if (!FolderExists(runDirectory.File(folder))) CreateFolder(runDirectory.File(folder));
  runDirectory.Write(JoinPath(folder, listName + ".lst"), bytes);
}

void BrowsePage::Open() {
  WireBrowseHandlers(window, state);
  FillRegionList(window, state);
  window.SwitchTab(2);
}

void BrowsePage::Choose(Name combo, const std::string& item) {
  const std::vector<std::string> items = ComboItems(combo);
  auto found = std::find(items.begin(), items.end(), item);
  if (found == items.end()) throw std::invalid_argument("no item " + item);
  window.ChooseItem(combo, static_cast<int>(found - items.begin()));
}

void BrowsePage::TypeKeyword(const std::string& keyword) { window.SetText(编辑框_文件名关键词, keyword); }

std::vector<std::string> BrowsePage::ComboItems(Name combo) const {
  std::vector<std::string> items;
  for (int i = 0; i < window.ComboCount(combo); ++i) items.push_back(window.ComboItem(combo, i));
  return items;
}

std::vector<std::string> BrowsePage::Shown() const {
  std::vector<std::string> items;
  for (int i = 0; i < window.ListCount(列表框_NPK文件列表); ++i) items.push_back(window.ListItem(列表框_NPK文件列表, i));
  return items;
}
