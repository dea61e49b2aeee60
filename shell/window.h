#pragma once
// The one way handlers reach Pellory's window: every operation addresses a
// control by its name (see control_names.h). The Win32 backend implements it
// with real controls, the headless backend in memory for the tests.
//
// Threads. The window belongs to the thread that created it: that thread runs
// the message loop and every control's handler. The download engine raises
// its events on a worker thread of its own, and the code there writes
// captions, stops the timer, fills lists, moves progress bars and shows
// message boxes as it goes. So that this code reads like any handler, in the
// order things happen, and is tested the same way on the in-memory window,
// every operation below may be called from any thread:
//
//  - Called from another thread, an operation is carried out on the window's
//    thread, and the caller waits until it is done: real controls answer
//    their own thread only, and the timer, the focus and the folder dialog
//    belong to that thread. Each operation is whole by itself; a series of
//    them from a worker may interleave with the window's own handlers.
//    A fault, such as a name that is no control, is thrown to the caller.
//  - ShowMessage shows its box on the calling thread, as every box has no
//    owner window: from a worker it blocks only the worker, and the window
//    stays usable meanwhile. The folder dialog, owned by the window, is
//    shown on the window's thread.
//  - ProcessWaitingMessages does nothing on any other thread.
//  - RunOnWindowThread queues work and returns at once, for several changes
//    that belong together, or work the caller must not wait for.
//  - Once the window has closed, an operation returns at once: a change is
//    lost, a read answers an empty text, 0, false or -1 ("no current item"),
//    the folder dialog answers "cancelled", and a caller that was waiting
//    for the window's thread is let go. Message boxes are still shown. The
//    in-memory window keeps its state after closing, for tests to read.
//
// The one rule for callers: the window's thread never waits for a worker
// (joins it, waits for its event) while the window is open and the worker
// may call into the window, which would wait for the window's thread in
// turn. Stop such a worker after the window has closed, as shut-down does.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Message box styles as the handlers pass them: icon plus modality.
namespace box {
inline constexpr int kError = 16;
inline constexpr int kWarning = 48;
inline constexpr int kInformation = 64;
inline constexpr int kSystemModal = 4096;
}  // namespace box

class Window {
 public:
  using Handler = std::function<void()>;
  virtual ~Window() = default;

  // Captions and texts of labels, buttons, edit boxes and group boxes.
  virtual std::string Text(std::string_view control) const = 0;
  virtual void SetText(std::string_view control, const std::string& text) = 0;
  virtual bool IsEnabled(std::string_view control) const = 0;
  // Disabling a group box makes the controls inside it unusable as well.
  virtual void SetEnabled(std::string_view control, bool enabled) = 0;
  // Check boxes and radio buttons.
  virtual bool IsChecked(std::string_view control) const = 0;
  virtual void SetChecked(std::string_view control, bool checked) = 0;

  // Drop-down lists; -1 is "no current item".
  virtual int ComboCurrent(std::string_view control) const = 0;
  virtual int ComboCount(std::string_view control) const = 0;
  virtual std::string ComboItem(std::string_view control, int index) const = 0;
  virtual void ComboAppend(std::string_view control, const std::string& item) = 0;

  // The list box.
  virtual void ListClear(std::string_view control) = 0;
  virtual void ListAppend(std::string_view control, const std::string& item) = 0;
  virtual int ListCurrent(std::string_view control) const = 0;
  virtual int ListCount(std::string_view control) const = 0;
  virtual std::string ListItem(std::string_view control, int index) const = 0;
  // Replaces all items with `items` in one go, leaving no current item:
  // tens of thousands of names without a redraw for each.
  virtual void ListSetItems(std::string_view control, const std::vector<std::string>& items) = 0;

  // The report list view; rows count from 0 at the top.
  virtual int RowCount(std::string_view control) const = 0;
  virtual void RemoveAllRows(std::string_view control) = 0;
  virtual void RemoveRow(std::string_view control, int row) = 0;
  // Appends a row with its first column's text and returns its index.
  virtual int AppendRow(std::string_view control, const std::string& firstColumn) = 0;
  virtual void SetCell(std::string_view control, int row, int column, const std::string& text) = 0;
  virtual std::string Cell(std::string_view control, int row, int column) const = 0;
  virtual bool IsRowChecked(std::string_view control, int row) const = 0;
  virtual void SetRowChecked(std::string_view control, int row, bool checked) = 0;

  // Progress bars; the range starts at 0.
  virtual int ProgressMaximum(std::string_view control) const = 0;
  virtual void SetProgressMaximum(std::string_view control, int maximum) = 0;
  virtual int ProgressPosition(std::string_view control) const = 0;
  virtual void SetProgressPosition(std::string_view control, int position) = 0;

  // The timer; a period of 0 stops it.
  virtual void SetTimerPeriod(std::string_view control, int milliseconds) = 0;

  // A standard message box with an OK button and no owner window.
  virtual void ShowMessage(const std::string& text, const std::string& title, int style) = 0;
  // The folder dialog: the chosen folder, or empty when cancelled.
  virtual std::string BrowseFolder(const std::string& prompt) = 0;
  // Lets the window handle the messages that wait, from inside a handler on
  // the window's thread.
  virtual void ProcessWaitingMessages() = 0;
  // True once the window has closed, so a long handler or a worker can stop early.
  virtual bool IsClosed() const { return false; }
  // Runs `work` later on the window's thread, at its next turn.
  virtual void RunOnWindowThread(Handler work) = 0;

  // The handler of a control's event (click, item chosen, double-click or
  // timer tick, as the control table gives its kind).
  virtual void SetHandler(std::string_view control, Handler handler) = 0;
  // An edit box's key-down event goes to its key handler instead, with the
  // key's code (13 is Enter).
  using KeyHandler = std::function<void(int keyCode)>;
  virtual void SetKeyHandler(std::string_view control, KeyHandler handler) = 0;
};
