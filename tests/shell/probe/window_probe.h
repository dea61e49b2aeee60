#pragma once
// Looks at Pellory's window from another process, as any Windows tool
// would: the controls' classes, places, captions and states, and the keys
// a person presses.
#include <windows.h>

#include <string>
#include <vector>

struct ProbedControl {
  HWND hwnd;
  HWND parent;
  std::wstring className;
  std::wstring text;
  RECT place;  // relative to the parent's client area
  bool enabled, visible;
  DWORD style;
};

// The top-level window of that class that `processId` (0: any program)
// shows; null when none appeared within `timeoutMs`.
HWND WaitForWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs);

// Every control below `window`, at any depth, in creation order per parent.
std::vector<ProbedControl> ListControls(HWND window);

// The window's outer rectangle on the screen.
RECT OuterRect(HWND window);

// Texts that live in the other process's memory: a tab's title, a status
// pane's text, a list view column's title and width.
std::wstring TabTitle(HWND tabControl, int index);
std::wstring StatusPaneText(HWND statusBar, int pane);
std::vector<int> StatusPaneRightEdges(HWND statusBar);
std::wstring ColumnTitle(HWND listView, int column);

// The colours shown on the screen inside `rect` (screen coordinates), row by row.
std::vector<COLORREF> ScreenPixels(const RECT& rect);

// Shows tab `page` (1 or 2) of `tabControl` with the arrow keys, as a
// person can; false when it did not come up within 5 s.
bool ShowTab(HWND tabControl, int page);

// A path as the test is given it on its command line (under Wine a Unix
// path), in the form Windows programs take.
std::wstring WindowsPathOfArgument(const char* argument);
// The same for a path given as a wide text.
std::wstring WindowsPath(std::wstring path);

// A wide text in UTF-8, for the tests' messages.
std::string Narrow(const std::wstring& text);

// The window class of `hwnd`, as the system names it.
std::wstring ClassOf(HWND hwnd);

// Every window below `parent`, at any depth.
std::vector<HWND> DescendantsOf(HWND parent);

// The dialogs ("#32770": the folder dialog and message boxes) that process
// `processId` shows at the top level.
std::vector<HWND> OpenDialogs(DWORD processId);
// The folder dialog is the dialog with the folder tree; every other dialog
// of the window is a message box.
bool IsFolderDialog(HWND dialog);
// The name of the folder that the folder dialog's tree has selected.
std::wstring SelectedFolderName(HWND dialog);
// Asks the folder dialog to select `path`; the tree tells when it has.
void RequestFolderSelection(HWND dialog, const std::wstring& path);

// The mouse goes to a list box's item and clicks twice, as a person does:
// a window that takes only a double-click on an item knows the item by
// where the mouse was.
void DoubleClickListItem(HWND list, int index);

// A key press as the keyboard delivers it to `target`'s thread.
void PressKey(HWND target, WORD key);
// The control that has the keyboard focus in `window`'s thread.
HWND FocusedControl(HWND window);
