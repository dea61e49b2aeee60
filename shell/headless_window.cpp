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

HeadlessWindow::State HeadlessWindow::Control(std::string_view control) const {
  std::lock_guard hold(lock_);
  return At(control);
}

std::vector<HeadlessWindow::Message> HeadlessWindow::Messages() const {
  std::lock_guard hold(lock_);
  return messages;
}

std::string HeadlessWindow::Text(std::string_view control) const {
  std::lock_guard hold(lock_);
  return At(control).text;
}

void HeadlessWindow::SetText(std::string_view control, const std::string& text) {
  std::lock_guard hold(lock_);
  At(control).text = text;
}

bool HeadlessWindow::IsEnabled(std::string_view control) const {
  std::lock_guard hold(lock_);
  return At(control).enabled;
}

void HeadlessWindow::SetEnabled(std::string_view control, bool enabled) {
  std::lock_guard hold(lock_);
  At(control).enabled = enabled;
}

bool HeadlessWindow::IsChecked(std::string_view control) const {
  std::lock_guard hold(lock_);
  return At(control).checked;
}

void HeadlessWindow::SetChecked(std::string_view control, bool checked) {
  std::lock_guard hold(lock_);
  Check(At(control), checked);
}

void HeadlessWindow::Check(State& state, bool checked) {
  state.checked = checked;
  if (checked && state.entry->kind == ControlKind::RadioButton) {
    for (auto& [name, other] : controls_)
      if (&other != &state && other.entry->kind == ControlKind::RadioButton && other.entry->parent == state.entry->parent)
        other.checked = false;
  }
}

int HeadlessWindow::ItemCount(std::string_view control) const { return static_cast<int>(At(control).items.size()); }

std::string HeadlessWindow::Item(std::string_view control, int index) const {
  const State& state = At(control);
  return index >= 0 && index < static_cast<int>(state.items.size()) ? state.items[index] : std::string();
}

int HeadlessWindow::ComboCurrent(std::string_view control) const {
  std::lock_guard hold(lock_);
  return At(control).current;
}

int HeadlessWindow::ComboCount(std::string_view control) const {
  std::lock_guard hold(lock_);
  return ItemCount(control);
}

std::string HeadlessWindow::ComboItem(std::string_view control, int index) const {
  std::lock_guard hold(lock_);
  return Item(control, index);
}

void HeadlessWindow::ComboAppend(std::string_view control, const std::string& item) {
  std::lock_guard hold(lock_);
  At(control).items.push_back(item);
}

void HeadlessWindow::ListClear(std::string_view control) {
  std::lock_guard hold(lock_);
  State& state = At(control);
  state.items.clear();
  state.current = -1;
}

void HeadlessWindow::ListSetItems(std::string_view control, const std::vector<std::string>& items) {
  std::lock_guard hold(lock_);
  State& state = At(control);
  state.items = items;
  state.current = -1;
}

void HeadlessWindow::ListAppend(std::string_view control, const std::string& item) {
  std::lock_guard hold(lock_);
  At(control).items.push_back(item);
}

int HeadlessWindow::ListCurrent(std::string_view control) const {
  std::lock_guard hold(lock_);
  return At(control).current;
}

int HeadlessWindow::ListCount(std::string_view control) const {
  std::lock_guard hold(lock_);
  return ItemCount(control);
}

std::string HeadlessWindow::ListItem(std::string_view control, int index) const {
  std::lock_guard hold(lock_);
  return Item(control, index);
}

bool HeadlessWindow::HasRow(std::string_view control, int row) const {
  return row >= 0 && row < static_cast<int>(At(control).rows.size());
}

int HeadlessWindow::RowCount(std::string_view control) const {
  std::lock_guard hold(lock_);
  return static_cast<int>(At(control).rows.size());
}

void HeadlessWindow::RemoveAllRows(std::string_view control) {
  std::lock_guard hold(lock_);
  Rows(control).clear();
}

void HeadlessWindow::RemoveRow(std::string_view control, int row) {
  std::lock_guard hold(lock_);
  if (HasRow(control, row)) Rows(control).erase(Rows(control).begin() + row);
}

int HeadlessWindow::AppendRow(std::string_view control, const std::string& firstColumn) {
  std::lock_guard hold(lock_);
  std::vector<Row>& rows = Rows(control);
  rows.push_back({{firstColumn, "", ""}, false});
  return static_cast<int>(rows.size()) - 1;
}

void HeadlessWindow::SetCell(std::string_view control, int row, int column, const std::string& text) {
  std::lock_guard hold(lock_);
  if (HasRow(control, row) && column >= 0 && column <= 2) Rows(control)[row].cells[column] = text;
}

std::string HeadlessWindow::Cell(std::string_view control, int row, int column) const {
  std::lock_guard hold(lock_);
  if (!HasRow(control, row) || column < 0 || column > 2) return {};
  return At(control).rows[row].cells[column];
}

bool HeadlessWindow::IsRowChecked(std::string_view control, int row) const {
  std::lock_guard hold(lock_);
  return HasRow(control, row) && At(control).rows[row].checked;
}

void HeadlessWindow::SetRowChecked(std::string_view control, int row, bool checked) {
  std::lock_guard hold(lock_);
  if (HasRow(control, row)) Rows(control)[row].checked = checked;
}

int HeadlessWindow::ProgressMaximum(std::string_view control) const {
  std::lock_guard hold(lock_);
  return At(control).maximum;
}

void HeadlessWindow::SetProgressMaximum(std::string_view control, int maximum) {
  std::lock_guard hold(lock_);
  At(control).maximum = maximum;
}

int HeadlessWindow::ProgressPosition(std::string_view control) const {
  std::lock_guard hold(lock_);
  return At(control).position;
}

void HeadlessWindow::SetProgressPosition(std::string_view control, int position) {
  // A progress bar keeps its position inside its range, as the real one does.
  std::lock_guard hold(lock_);
  State& state = At(control);
  state.position = position < 0 ? 0 : position > state.maximum ? state.maximum : position;
}

void HeadlessWindow::SetTimerPeriod(std::string_view control, int milliseconds) {
  std::lock_guard hold(lock_);
  At(control).timerPeriod = milliseconds;
}

void HeadlessWindow::ShowMessage(const std::string& text, const std::string& title, int style) {
  std::lock_guard hold(lock_);
  messages.push_back({text, title, style});
}

std::string HeadlessWindow::BrowseFolder(const std::string& prompt) {
  std::lock_guard hold(lock_);
  folderPrompts.push_back(prompt);
  if (folderAnswers.empty()) return {};
  std::string answer = folderAnswers.front();
  folderAnswers.pop_front();
  return answer;
}

void HeadlessWindow::ProcessWaitingMessages() {
  if (std::this_thread::get_id() != windowThread_) return;  // another thread's messages are not the window's
  ++waitingMessageCalls;
  std::vector<Handler> work;
  {
    std::lock_guard hold(lock_);
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
  std::lock_guard hold(lock_);
  posted_.push_back(std::move(work));
}

void HeadlessWindow::SetHandler(std::string_view control, Handler handler) {
  std::lock_guard hold(lock_);
  At(control).handler = std::move(handler);
}

void HeadlessWindow::SetKeyHandler(std::string_view control, KeyHandler handler) {
  std::lock_guard hold(lock_);
  At(control).keyHandler = std::move(handler);
}

bool HeadlessWindow::Usable(const State& control) const {
  for (const State* state = &control;; state = &At(state->entry->parent)) {
    if (!state->enabled) return false;
    if (state->entry->parent.empty()) return true;
  }
}

bool HeadlessWindow::Visible(const State& state) const {
  return state.entry->page == 0 || state.entry->page == currentTab_;
}

bool HeadlessWindow::IsUsable(std::string_view control) const {
  std::lock_guard hold(lock_);
  return Usable(At(control));
}

bool HeadlessWindow::IsVisible(std::string_view control) const {
  std::lock_guard hold(lock_);
  return Visible(At(control));
}

void HeadlessWindow::Click(std::string_view control) {
  Handler handler;
  {
    std::lock_guard hold(lock_);
    State& state = At(control);
    if (closed_ || !Usable(state) || !Visible(state)) return;
    if (state.entry->kind == ControlKind::CheckBox) state.checked = !state.checked;
    if (state.entry->kind == ControlKind::RadioButton) Check(state, true);
    handler = state.handler;
  }
  // The handler calls the window in turn, so it runs with the lock let go.
  if (handler) handler();
}

void HeadlessWindow::PressKey(std::string_view control, int keyCode) {
  KeyHandler handler;
  {
    std::lock_guard hold(lock_);
    const State& state = At(control);
    if (closed_ || !Usable(state) || !Visible(state)) return;
    handler = state.keyHandler;
  }
  if (handler) handler(keyCode);
}

void HeadlessWindow::ChooseItem(std::string_view control, int index) {
  Handler handler;
  {
    std::lock_guard hold(lock_);
    State& state = At(control);
    if (closed_ || !Usable(state) || !Visible(state)) return;
    if (index < 0 || index >= static_cast<int>(state.items.size())) return;
    state.current = index;
    handler = state.handler;
  }
  if (handler) handler();
}

void HeadlessWindow::ClickRowCheck(std::string_view control, int row) {
  std::lock_guard hold(lock_);
  if (HasRow(control, row)) Rows(control)[row].checked = !Rows(control)[row].checked;
}

void HeadlessWindow::SwitchTab(int page) {
  std::lock_guard hold(lock_);
  currentTab_ = page;
}

int HeadlessWindow::CurrentTab() const {
  std::lock_guard hold(lock_);
  return currentTab_;
}
