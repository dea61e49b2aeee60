// Works Pellory's window from another process, as a person at the screen
// would, for the scripts that show it and take its screenshots. Controls
// are named as the program names them (UTF-8 on the command line).
//
//   window-remote wait                        waits for the window; prints "x y width height"
//   window-remote area                        the window and its open dialogs together, as above
//   window-remote tab N                       shows tab N (1 or 2)
//   window-remote click CONTROL               clicks a button or check box once it can be used
//   window-remote choose CONTROL INDEX        chooses a drop-down list's item with the arrow keys
//   window-remote drop CONTROL                opens a drop-down list to show its items
//   window-remote type CONTROL TEXT           types TEXT into an edit box
//   window-remote folder PATH                 selects PATH in the folder dialog and presses OK
//   window-remote double-click CONTROL INDEX  double-clicks a list box's item with the mouse
//   window-remote await CONTROL TEXT          waits until the control's text begins with TEXT
//   window-remote count CONTROL               prints the items of a list box or list view
//   window-remote box                         waits for a message box; prints its text
//   window-remote dismiss                     presses the message box's OK
//   window-remote close                       closes the window as its close box does
//
// Exit codes: 0 done, 1 the window or the step did not come in time, 2 a
// wrong command line.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "shell/control_table.h"
#include "shell/win32/control_factory.h"
#include "tests/shell/probe/window_probe.h"

namespace {
constexpr wchar_t kWindowClass[] = L"PelloryMainWindow";
// Pellory answers in well under a second; a download or a refresh takes a few.
constexpr auto kStepTimeout = std::chrono::seconds(60);

struct StepFailed {
  std::string what;
};

bool WaitUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + kStepTimeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(50);
  }
  return true;
}

void Require(bool done, const std::string& what) {
  if (!done) throw StepFailed{what};
}

std::wstring TextOf(HWND hwnd) {
  wchar_t text[1024] = L"";
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &ignored);
  return text;
}

void Print(const std::wstring& text) { std::printf("%s\n", Narrow(text).c_str()); }

class Remote {
 public:
  explicit Remote(HWND window) : window_(window) { GetWindowThreadProcessId(window, &process_); }

  HWND Control(control::Name name) const {
    const ControlSpec* entry = FindControl(name);
    if (!entry) throw StepFailed{"Pellory has no control named " + std::string(name)};
    const int id = ControlIdentifier(*entry);
    for (HWND child : DescendantsOf(window_))
      if (GetDlgCtrlID(child) == id) return child;
    throw StepFailed{std::string(name) + " is not on the window"};
  }
  HWND Control(const std::wstring& name) const { return Control(Narrow(name)); }

  // The control once a person could use it: shown and enabled, and nothing
  // above it, such as a message box, that holds the window.
  HWND UsableControl(const std::wstring& name) const {
    HWND control = Control(name);
    Require(WaitUntil([&] {
              if (!IsWindowVisible(control)) return false;
              for (HWND around = control; around; around = GetParent(around))
                if (!IsWindowEnabled(around)) return false;
              return true;
            }),
            Narrow(name) + " did not become usable");
    return control;
  }

  HWND AwaitDialog(bool folderDialog) const {
    HWND found = nullptr;
    Require(WaitUntil([&] {
              for (HWND dialog : OpenDialogs(process_))
                if (IsFolderDialog(dialog) == folderDialog) found = dialog;
              return found != nullptr;
            }),
            folderDialog ? "no folder dialog came up" : "no message box came up");
    return found;
  }

  // Presses a dialog's button as a click would and waits until the dialog is gone.
  void Press(HWND dialog, int button) const {
    HWND hwnd = GetDlgItem(dialog, button);
    Require(hwnd != nullptr, "the dialog has no button " + std::to_string(button));
    PostMessageW(hwnd, BM_CLICK, 0, 0);
    Require(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }), "the dialog stayed open");
  }

  // Under Wine a selection made as soon as the dialog shows is now and then
  // lost, so it is asked for again until the tree shows it.
  void ChooseFolder(const std::wstring& path) const {
    HWND dialog = AwaitDialog(true);
    const std::wstring windowsPath = WindowsPath(path);
    const std::wstring name = windowsPath.substr(windowsPath.find_last_of(L'\\') + 1);
    auto lastTry = std::chrono::steady_clock::now() - std::chrono::seconds(1);
    Require(WaitUntil([&] {
              if (std::chrono::steady_clock::now() - lastTry >= std::chrono::seconds(1)) {
                RequestFolderSelection(dialog, windowsPath);
                lastTry = std::chrono::steady_clock::now();
              }
              return SelectedFolderName(dialog) == name;
            }),
            "the folder dialog did not select " + Narrow(windowsPath));
    Press(dialog, IDOK);
  }

  void Choose(HWND combo, int index) const {
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    Require(WaitUntil([&] {
              const LRESULT current = SendMessageW(combo, CB_GETCURSEL, 0, 0);
              if (current == index) return true;
              PressKey(combo, current < index ? VK_DOWN : VK_UP);
              Sleep(100);
              return false;
            }),
            "the item " + std::to_string(index) + " could not be chosen");
  }

  void Type(HWND edit, const std::wstring& text) const {
    for (wchar_t character : text) PostMessageW(edit, WM_CHAR, character, 1);
    Require(WaitUntil([&] { return TextOf(edit) == text; }), "the edit box did not take the text");
  }

  LRESULT Count(HWND control) const {
    return SendMessageW(control, ClassOf(control) == WC_LISTVIEWW ? LVM_GETITEMCOUNT : LB_GETCOUNT, 0, 0);
  }

  // The box's text as it shows it: its static texts, one a line.
  std::wstring BoxText(HWND box) const {
    std::wstring text;
    for (HWND child : DescendantsOf(box))
      if (ClassOf(child) == L"Static" && IsWindowVisible(child))
        if (std::wstring line = TextOf(child); !line.empty()) text += (text.empty() ? L"" : L"\n") + line;
    return text;
  }

  RECT Area() const {
    RECT area = OuterRect(window_);
    for (HWND dialog : OpenDialogs(process_)) {
      RECT place = OuterRect(dialog);
      UnionRect(&area, &area, &place);
    }
    return area;
  }

  HWND Window() const { return window_; }

 private:
  HWND window_;
  DWORD process_ = 0;
};

void PrintPlace(const RECT& place) {
  std::printf("%ld %ld %ld %ld\n", place.left, place.top, place.right - place.left, place.bottom - place.top);
}

int Run(const std::vector<std::wstring>& args) {
  const std::wstring command = args.size() > 1 ? args[1] : L"";
  const auto given = [&](std::size_t count) { return args.size() == count + 2; };
  HWND window = WaitForWindow(0, kWindowClass, command == L"wait" ? 30000 : 1000);
  if (!window) {
    std::fprintf(stderr, "window-remote: Pellory's window is not there\n");
    return 1;
  }
  const Remote remote(window);
  if (command == L"wait" && given(0)) {
    Sleep(500);  // time for the first paint
    PrintPlace(OuterRect(window));
  } else if (command == L"area" && given(0)) {
    PrintPlace(remote.Area());
  } else if (command == L"tab" && given(1)) {
    Require(ShowTab(remote.Control(control::选择夹1), _wtoi(args[2].c_str())), "the tab did not come up");
    Sleep(300);  // time for the page to show and paint
  } else if (command == L"click" && given(1)) {
    PostMessageW(remote.UsableControl(args[2]), BM_CLICK, 0, 0);
  } else if (command == L"choose" && given(2)) {
    remote.Choose(remote.UsableControl(args[2]), _wtoi(args[3].c_str()));
  } else if (command == L"drop" && given(1)) {
    PostMessageW(remote.UsableControl(args[2]), CB_SHOWDROPDOWN, TRUE, 0);
    Sleep(300);  // time for the list to show and paint
  } else if (command == L"type" && given(2)) {
    remote.Type(remote.UsableControl(args[2]), args[3]);
  } else if (command == L"folder" && given(1)) {
    remote.ChooseFolder(args[2]);
  } else if (command == L"double-click" && given(2)) {
    DoubleClickListItem(remote.UsableControl(args[2]), _wtoi(args[3].c_str()));
  } else if (command == L"await" && given(2)) {
    HWND control = remote.Control(args[2]);
    if (!WaitUntil([&] { return TextOf(control).rfind(args[3], 0) == 0; }))
      throw StepFailed{Narrow(args[2]) + " shows \"" + Narrow(TextOf(control)) + "\", not \"" + Narrow(args[3]) + "\""};
  } else if (command == L"count" && given(1)) {
    std::printf("%ld\n", static_cast<long>(remote.Count(remote.Control(args[2]))));
  } else if (command == L"box" && given(0)) {
    Print(remote.BoxText(remote.AwaitDialog(false)));
  } else if (command == L"dismiss" && given(0)) {
    remote.Press(remote.AwaitDialog(false), IDOK);
  } else if (command == L"close" && given(0)) {
    PostMessageW(window, WM_CLOSE, 0, 0);
  } else {
    std::fprintf(stderr, "window-remote: unknown command or wrong arguments; the commands are listed in its source\n");
    return 2;
  }
  return 0;
}
}  // namespace

int main() {
  // The wide command line: control names and paths are Chinese.
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args(arguments, arguments + count);
  LocalFree(arguments);
  try {
    return Run(args);
  } catch (const StepFailed& failure) {
    std::fprintf(stderr, "window-remote: %s\n", failure.what.c_str());
    return 1;
  }
}
