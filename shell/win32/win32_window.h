#pragma once
// Pellory's window with real Win32 controls, built from the control table.
// It keeps the thread contract of window.h: operations from other threads
// are carried out on the thread that created the window. That thread also
// destroys it.
#include <windows.h>

#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "shell/control_table.h"
#include "shell/win32/label_painter.h"
#include "shell/win32/scoped_win.h"
#include "shell/win32/window_thread_calls.h"
#include "shell/window.h"

class Win32Window final : public Window {
 public:
  // Creates the window and all its controls in their initial states, hidden.
  Win32Window();
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;
  ~Win32Window() override;

  // Shows the window centred on the screen.
  void Show();
  // Serves the window until it has closed. A fault that a handler threw
  // closed the window, and is thrown on from here.
  void RunUntilClosed();
  // The system's window of a control, for tools that work the window from
  // outside; it stays the same for the window's life.
  HWND ControlHandle(std::string_view control) const { return Handle(control); }

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
  bool IsClosed() const override { return calls_.IsClosed(); }
  void RunOnWindowThread(Handler work) override;
  void SetHandler(std::string_view control, Handler handler) override;
  void SetKeyHandler(std::string_view control, KeyHandler handler) override;

 private:
  struct Control {
    const ControlSpec* entry;
    HWND hwnd;
    Handler handler;
    KeyHandler keyHandler;
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PaintLabel(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR window);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // A fault must not unwind through the system's frames: the window
  // procedures end here, the window closes and RunUntilClosed throws it.
  void Fail(std::exception_ptr fault);
  void CreateControls();
  void OnCommand(int id, int notification);
  void OnTabChanged();
  void OnListBoxDoubleClick(const Control& listBox);
  void Run(const Control& control);
  void Dispatch(MSG& message);

  bool OnWindowThread() const { return GetCurrentThreadId() == threadId_; }
  // Carries out an operation on the window's thread and waits for it;
  // nothing once the window has closed.
  void Change(const std::function<void()>& work);
  // The same for an operation with an answer; `closedAnswer` once the window has closed.
  template <typename Work>
  auto Read(const Work& work, decltype(work()) closedAnswer) const -> decltype(work());

  Control* ById(int id);
  Control& At(std::string_view name);
  const Control& At(std::string_view name) const;
  HWND Handle(std::string_view name) const { return At(name).hwnd; }

  ScopedCom com_;  // the folder dialog needs it on the window's thread
  const DWORD threadId_;
  mutable WindowThreadCalls calls_;
  std::exception_ptr fault_;
  HWND window_ = nullptr;  // the window's thread alone reads it
  std::vector<Control> controls_;  // in table order; a control's identifier is ControlIdentifier of its entry
  LabelPainter labels_;
};
