#include "tests/cleaner/page_fixture.h"

#include <algorithm>

#include "platform/files.h"

using namespace control;

PageFixture::PageFixture() {
  state.RunDirectory = runDirectory.Path();
  WireCleanerHandlers(window, state);
}

void PageFixture::ChooseGameDirectory(const std::string& directory) {
  window.folderAnswers.push_back(directory);
  window.Click(按钮_选择游戏目录);
}

void PageFixture::WriteSkipList(const std::string& text) { runDirectory.Write("Skip_Npk.ini", text); }

void PageFixture::Scan(const std::string& radio) {
  window.Click(radio);
  window.Click(按钮_开始扫描);
}

std::vector<ResultRow> PageFixture::Rows() const {
  std::vector<ResultRow> rows;
  for (int row = 0; row < window.RowCount(超级列表框_扫描结果); ++row)
    rows.push_back({window.Cell(超级列表框_扫描结果, row, 0), window.Cell(超级列表框_扫描结果, row, 1),
                    window.Cell(超级列表框_扫描结果, row, 2)});
  return rows;
}

std::vector<ResultRow> PageFixture::InFoundOrder(
    const std::string& folder, const std::vector<std::pair<std::string, std::string>>& expected) const {
  std::vector<ResultRow> rows;
  for (const std::string& name : ListFileNames(game.FolderPath(folder))) {
    auto found = std::find_if(expected.begin(), expected.end(), [&](const auto& e) { return e.first == name; });
    if (found != expected.end()) rows.push_back({name, folder, found->second});
  }
  return rows;
}

HeadlessWindow::Message PageFixture::LastMessage() const {
  return window.messages.empty() ? HeadlessWindow::Message{"", "", -1} : window.messages.back();
}
