#pragma once
// The first page of the window in memory, wired to its handlers, over a game
// directory of real files.
#include <string>
#include <vector>

#include "cleaner/cleaner_handlers.h"
#include "shell/control_names.h"
#include "tests/cleaner/game_fixture.h"
#include "shell/headless_window.h"

struct ResultRow {
  std::string name, folder, verdict;
  bool operator==(const ResultRow&) const = default;
};

class PageFixture {
 public:
  PageFixture();
  // Picks a game directory through the folder dialog.
  void ChooseGameDirectory(const std::string& directory);
  void WriteSkipList(const std::string& text);
  void Scan(const std::string& radio = std::string(control::单选框_IP));
  std::vector<ResultRow> Rows() const;
  // The rows a scan of `folder` should list, in the order the folder lists
  // its files: `expected` gives the verdict text of every reported name.
  std::vector<ResultRow> InFoundOrder(const std::string& folder,
                                      const std::vector<std::pair<std::string, std::string>>& expected) const;
  HeadlessWindow::Message LastMessage() const;

  GameFixture game;
  TestFolder runDirectory;
  HeadlessWindow window;
  CleanerState state;
};
