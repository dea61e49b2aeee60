#pragma once
// The window in memory, built from the control table, for tests on Linux.
// It records every message box and answers folder dialogs from a script.
//
// It keeps the thread contract of window.h: its window's thread is the one
// that created it, every operation may come from any thread, and one lock
// guards the controls so that no two calls ever touch them at once. An
// operation from a worker is carried out at once under that lock, where the
// real window has it wait for the window's thread; what the two threads can
// see in between is the same.
#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "shell/control_table.h"
#include "shell/window.h"

class HeadlessWindow final : public Window {
 public:
  struct Message {
    std::string text, title;
    int style;
  };
  struct Row {
    std::vector<std::string> cells;
    bool checked = false;
  };
  struct State {
    const ControlSpec* entry = nullptr;
    std::string text;
    bool enabled = true, checked = false;
    std::vector<std::string> items;  // combo box or list box
    int current = -1;
    std::vector<Row> rows;
    int maximum = 100, position = 0;
    int timerPeriod = 0;
    Handler handler;
    KeyHandler keyHandler;
  };

  HeadlessWindow();

  std::string Text(std::string_view control) const override;
  void SetText(std::string_view control, const std::string& text) override;
  bool IsEnabled(std::string_view control) const override;
  void SetEnabled(std::string_view control, bool enabled) override;
  bool IsChecked(std::string_view control) const override;
  void SetChecked(std::string_view control, bool checked) override;
  int ComboCurrent(std::string_view control) const override;
  int ComboCount(std::string_view control) const override;
  std::string ComboItem(std::string_view control, int index) const override;
  void ComboAppend(std::string_view control, const std::string& item) override;
  void ListClear(std::string_view control) override;
  void ListAppend(std::string_view control, const std::string& item) override;
  int ListCurrent(std::string_view control) const override;
  int ListCount(std::string_view control) const override;
  std::string ListItem(std::string_view control, int index) const override;
  void ListSetItems(std::string_view control, const std::vector<std::string>& items) override;
  int RowCount(std::string_view control) const override;
  void RemoveAllRows(std::string_view control) override;
  void RemoveRow(std::string_view control, int row) override;
  int AppendRow(std::string_view control, const std::string& firstColumn) override;
  void SetCell(std::string_view control, int row, int column, const std::string& text) override;
  std::string Cell(std::string_view control, int row, int column) const override;
  bool IsRowChecked(std::string_view control, int row) const override;
  void SetRowChecked(std::string_view control, int row, bool checked) override;
  int ProgressMaximum(std::string_view control) const override;
  void SetProgressMaximum(std::string_view control, int maximum) override;
  int ProgressPosition(std::string_view control) const override;
  void SetProgressPosition(std::string_view control, int position) override;
  void SetTimerPeriod(std::string_view control, int milliseconds) override;
  void ShowMessage(const std::string& text, const std::string& title, int style) override;
  std::string BrowseFolder(const std::string& prompt) override;
  void ProcessWaitingMessages() override;
  bool IsClosed() const override { return closed_; }
  // The work runs at the window thread's next "process waiting messages".
  void RunOnWindowThread(Handler work) override;
  void SetHandler(std::string_view control, Handler handler) override;
  void SetKeyHandler(std::string_view control, KeyHandler handler) override;

  // What a person does: a click toggles a check box or selects a radio
  // button first, then runs the handler; nothing happens on an unusable control.
  void Click(std::string_view control);
  // A key pressed in a usable, shown control; `keyCode` as the system gives it.
  void PressKey(std::string_view control, int keyCode);
  // Makes item `index` current and runs the handler, as choosing it does.
  void ChooseItem(std::string_view control, int index);
  // Ticks or unticks one row's check box, as a click on it does.
  void ClickRowCheck(std::string_view control, int row);
  // Enabled, and every group box around it enabled too.
  bool IsUsable(std::string_view control) const;
  bool IsVisible(std::string_view control) const;
  void SwitchTab(int page);
  // A close request by any means; it is always granted, and a closed window
  // takes no more clicks.
  void Close() { closed_ = true; }
  int CurrentTab() const;
  // A copy of a control's whole state as it is now.
  State Control(std::string_view control) const;
  // The message boxes shown so far; safe while other threads show more.
  std::vector<Message> Messages() const;

  // What the window's thread may read and change while no other thread
  // calls the window; otherwise use Messages().
  std::vector<Message> messages;
  std::deque<std::string> folderAnswers;  // answers for the folder dialog, in order; empty: cancelled
  std::vector<std::string> folderPrompts;
  // Runs at every "process waiting messages", standing in for the user's
  // clicks that a long handler lets through.
  Handler onWaitingMessages;
  int waitingMessageCalls = 0;

 private:
  // These expect `lock_` held.
  State& At(std::string_view control);
  const State& At(std::string_view control) const;
  void Check(State& state, bool checked);
  int ItemCount(std::string_view control) const;
  std::string Item(std::string_view control, int index) const;
  std::vector<Row>& Rows(std::string_view control) { return At(control).rows; }
  bool HasRow(std::string_view control, int row) const;
  bool Usable(const State& state) const;
  bool Visible(const State& state) const;

  const std::thread::id windowThread_ = std::this_thread::get_id();
  mutable std::mutex lock_;
  std::map<std::string, State, std::less<>> controls_;
  std::vector<Handler> posted_;
  std::atomic<bool> closed_ = false;
  int currentTab_ = 1;
};
