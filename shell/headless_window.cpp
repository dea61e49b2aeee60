#include "shell/headless_window.h"

#include <stdexcept>

#include "platform/utf8_text.h"

namespace {
std::string Source(std::u8string_view text) { return TextFromUtf8Source(text); }
}  // namespace

HeadlessWindow::HeadlessWindow() {
  for (const ControlSpec& entry : ControlTable()) {
    State state;
    state.entry = &entry;
    state.text = Source(entry.caption);
    state.enabled = entry.enabled;
    state.checked = entry.checked;
    controls_.emplace(std::string(entry.name), std::move(state));
  }
  for (std::u8string_view folder : MainWindowSpec().folderChoices) At(control::组合框_文件夹目录).items.push_back(Source(folder));
}

HeadlessWindow::State& HeadlessWindow::At(std::string_view control) {
  auto found = controls_.find(control);
  if (found == controls_.end()) throw std::invalid_argument("no control named " + std::string(control));
  return found->second;
}

const HeadlessWindow::State& HeadlessWindow::At(std::string_view control) const {
  return const_cast<HeadlessWindow*>(this)->At(control);
}

const HeadlessWindow::State& HeadlessWindow::Control(std::string_view control) const { return At(control); }

std::string HeadlessWindow::Text(std::string_view control) const { return At(control).text; }
void HeadlessWindow::SetText(std::string_view control, const std::string& text) { At(control).text = text; }
bool HeadlessWindow::IsEnabled(std::string_view control) const { return At(control).enabled; }
void HeadlessWindow::SetEnabled(std::string_view control, bool enabled) { At(control).enabled = enabled; }
bool HeadlessWindow::IsChecked(std::string_view control) const { return At(control).checked; }

void HeadlessWindow::SetChecked(std::string_view control, bool checked) {
  State& state = At(control);
  state.checked = checked;
  if (checked && state.entry->kind == ControlKind::RadioButton) {
    for (auto& [name, other] : controls_)
      if (&other != &state && other.entry->kind == ControlKind::RadioButton && other.entry->parent == state.entry->parent)
        other.checked = false;
  }
}

int HeadlessWindow::ComboCurrent(std::string_view control) const { return At(control).current; }
int HeadlessWindow::ComboCount(std::string_view control) const { return static_cast<int>(At(control).items.size()); }

std::string HeadlessWindow::ComboItem(std::string_view control, int index) const {
  const State& state = At(control);
  return index >= 0 && index < static_cast<int>(state.items.size()) ? state.items[index] : std::string();
}

void HeadlessWindow::ComboAppend(std::string_view control, const std::string& item) { At(control).items.push_back(item); }

void HeadlessWindow::ListClear(std::string_view control) {
  At(control).items.clear();
  At(control).current = -1;
}

void HeadlessWindow::ListAppend(std::string_view control, const std::string& item) { At(control).items.push_back(item); }
void HeadlessWindow::ListSetItems(std::string_view control, const std::vector<std::string>& items) {
  At(control).items = items;
  At(control).current = -1;
}

int HeadlessWindow::ListCurrent(std::string_view control) const { return At(control).current; }
int HeadlessWindow::ListCount(std::string_view control) const { return ComboCount(control); }
std::string HeadlessWindow::ListItem(std::string_view control, int index) const { return ComboItem(control, index); }

int HeadlessWindow::RowCount(std::string_view control) const { return static_cast<int>(At(control).rows.size()); }
void HeadlessWindow::RemoveAllRows(std::string_view control) { At(control).rows.clear(); }

void HeadlessWindow::RemoveRow(std::string_view control, int row) {
  std::vector<Row>& rows = At(control).rows;
  if (row >= 0 && row < static_cast<int>(rows.size())) rows.erase(rows.begin() + row);
}

int HeadlessWindow::AppendRow(std::string_view control, const std::string& firstColumn) {
  std::vector<Row>& rows = At(control).rows;
  rows.push_back({{firstColumn, "", ""}, false});
  return static_cast<int>(rows.size()) - 1;
}

void HeadlessWindow::SetCell(std::string_view control, int row, int column, const std::string& text) {
  std::vector<Row>& rows = At(control).rows;
  if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0 || column > 2) return;
  rows[row].cells[column] = text;
}

std::string HeadlessWindow::Cell(std::string_view control, int row, int column) const {
  const std::vector<Row>& rows = At(control).rows;
  if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0 || column > 2) return {};
  return rows[row].cells[column];
}

bool HeadlessWindow::IsRowChecked(std::string_view control, int row) const {
  const std::vector<Row>& rows = At(control).rows;
  return row >= 0 && row < static_cast<int>(rows.size()) && rows[row].checked;
}

void HeadlessWindow::SetRowChecked(std::string_view control, int row, bool checked) {
  std::vector<Row>& rows = At(control).rows;
  if (row >= 0 && row < static_cast<int>(rows.size())) rows[row].checked = checked;
}

int HeadlessWindow::ProgressMaximum(std::string_view control) const { return At(control).maximum; }
void HeadlessWindow::SetProgressMaximum(std::string_view control, int maximum) { At(control).maximum = maximum; }
int HeadlessWindow::ProgressPosition(std::string_view control) const { return At(control).position; }

void HeadlessWindow::SetProgressPosition(std::string_view control, int position) {
  // A progress bar keeps its position inside its range, as the real one does.
  State& state = At(control);
  state.position = position < 0 ? 0 : position > state.maximum ? state.maximum : position;
}

void HeadlessWindow::SetTimerPeriod(std::string_view control, int milliseconds) { At(control).timerPeriod = milliseconds; }

void HeadlessWindow::ShowMessage(const std::string& text, const std::string& title, int style) {
  messages.push_back({text, title, style});
}

std::string HeadlessWindow::BrowseFolder(const std::string& prompt) {
  folderPrompts.push_back(prompt);
  if (folderAnswers.empty()) return {};
  std::string answer = folderAnswers.front();
  folderAnswers.pop_front();
  return answer;
}

void HeadlessWindow::ProcessWaitingMessages() {
  ++waitingMessageCalls;
  std::vector<Handler> work;
  {
    std::lock_guard<std::mutex> hold(postedLock_);
    work.swap(posted_);
  }
  for (Handler& job : work) job();
  if (onWaitingMessages) {
    Handler once = std::move(onWaitingMessages);  // a click fires once, not at every later yield
    onWaitingMessages = nullptr;
    once();
  }
}

void HeadlessWindow::RunOnWindowThread(Handler work) {
  std::lock_guard<std::mutex> hold(postedLock_);
  posted_.push_back(std::move(work));
}
void HeadlessWindow::SetHandler(std::string_view control, Handler handler) { At(control).handler = std::move(handler); }

void HeadlessWindow::SetKeyHandler(std::string_view control, KeyHandler handler) {
  At(control).keyHandler = std::move(handler);
}

bool HeadlessWindow::IsUsable(std::string_view control) const {
  for (const State* state = &At(control);; state = &At(state->entry->parent)) {
    if (!state->enabled) return false;
    if (state->entry->parent.empty()) return true;
  }
}

bool HeadlessWindow::IsVisible(std::string_view control) const {
  int page = At(control).entry->page;
  return page == 0 || page == currentTab_;
}

void HeadlessWindow::Click(std::string_view control) {
  if (closed_ || !IsUsable(control) || !IsVisible(control)) return;
  State& state = At(control);
  if (state.entry->kind == ControlKind::CheckBox) state.checked = !state.checked;
  if (state.entry->kind == ControlKind::RadioButton) SetChecked(control, true);
  if (state.handler) state.handler();
}

void HeadlessWindow::PressKey(std::string_view control, int keyCode) {
  if (closed_ || !IsUsable(control) || !IsVisible(control)) return;
  if (KeyHandler handler = At(control).keyHandler) handler(keyCode);
}

void HeadlessWindow::ChooseItem(std::string_view control, int index) {
  if (closed_ || !IsUsable(control) || !IsVisible(control)) return;
  State& state = At(control);
  if (index < 0 || index >= static_cast<int>(state.items.size())) return;
  state.current = index;
  if (state.handler) state.handler();
}

void HeadlessWindow::ClickRowCheck(std::string_view control, int row) {
  SetRowChecked(control, row, !IsRowChecked(control, row));
}

void HeadlessWindow::SwitchTab(int page) { currentTab_ = page; }
