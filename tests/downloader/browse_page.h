#pragma once
// The second page of the window in memory, wired to its browsing handlers,
// over a program folder of real files: a configuration file sealed with the
// program's password and region list files in the list folder.
#include <string>
#include <vector>

#include "downloader/browse_handlers.h"
#include "shell/control_names.h"
#include "shell/headless_window.h"
#include "tests/downloader/region_list_builder.h"
#include "tests/test_folder.h"

// The configuration file's stored form of `text`, sealed with the program's
// password; the fewest iterations the reader takes, to keep tests quick.
std::vector<std::uint8_t> SealedConfig(const std::string& text);

class BrowsePage {
 public:
  BrowsePage();

  void WriteConfig(const std::string& text) const;
  // Writes `<listName>.lst` into `folder` below the program's folder,
  // creating the folder when it is missing.
  void WriteList(const std::string& listName, const Bytes& bytes, const std::string& folder = "lst_file") const;
  // The window has been created: the handlers are wired and the regions filled.
  void Open();

  // What a person does: picks an item of a combo box by its text.
  void Choose(control::Name combo, const std::string& item);
  void TypeKeyword(const std::string& keyword);

  std::vector<std::string> ComboItems(control::Name combo) const;
  std::vector<std::string> Shown() const;  // the list box's items, top to bottom

  TestFolder runDirectory;
  HeadlessWindow window;
  DownloaderState state;
};
