#include "tests/shell/win32_page/window_user.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <mutex>
#include <thread>

#include "platform/utf8_text.h"
#include "platform/win32/native_text.h"
#include "shell/win32/scoped_win.h"
#include "tests/shell/probe/window_probe.h"

namespace {
using Clock = std::chrono::steady_clock;

// What the user waits for now, for the watchdog's message.
std::mutex stepLock;
std::string currentStep;

// Selects `folder` in the folder dialog. Under Wine a selection made as soon
// as the dialog shows is now and then lost (the tree stays on the desktop),
// and the message answers FALSE even when it worked: so the tree's selection
// is what tells, and the selection is made again until the tree shows it.
void SelectFolder(HWND dialog, const std::string& folder) {
  const std::wstring path = WideFromText(folder);
  const std::string name = folder.substr(folder.find_last_of('\\') + 1);
  auto lastTry = Clock::now() - std::chrono::seconds(1);
  WaitFor("the folder dialog to select " + name, [&] {
    if (Clock::now() - lastTry >= std::chrono::seconds(1)) {
      RequestFolderSelection(dialog, path);
      lastTry = Clock::now();
    }
    return TextFromWide(SelectedFolderName(dialog)) == name;
  });
}

HWND AwaitDialog(const std::string& what, bool folderDialog) {
  HWND found = nullptr;
  WaitFor(what, [&] {
    for (HWND dialog : OpenDialogs())
      if (IsFolderDialog(dialog) == folderDialog) found = dialog;
    return found != nullptr;
  });
  return found;
}

// Presses a dialog's button as a click would and waits until the dialog is gone.
void Press(HWND dialog, int button) {
  HWND hwnd = GetDlgItem(dialog, button);
  if (!hwnd) throw RunStopped("the dialog has no button " + std::to_string(button));
  WaitFor("the dialog's button " + std::to_string(button) + " to be enabled", [&] { return IsWindowEnabled(hwnd); });
  PostMessageW(hwnd, BM_CLICK, 0, 0);
  WaitFor("the dialog to close", [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

// The window on this thread whose caption is the one the table gives.
HWND MainWindowOfThisThread() {
  struct Search {
    std::string caption;
    HWND found;
  } search{TextFromUtf8Source(MainWindowSpec().title), nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) {
        auto* search = reinterpret_cast<Search*>(data);
        if (ClassOf(hwnd) != L"#32770" && TextOf(hwnd) == search->caption) search->found = hwnd;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Ends the test process if a run outlives kRunTimeout: a call that blocks
// for good (a window that never answers) escapes the steps' own deadlines,
// and a test run must not hang.
class Watchdog {
 public:
  Watchdog() : finished_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_([this] { Watch(); }) {}
  ~Watchdog() {
    SetEvent(finished_.Get());
    thread_.join();
  }

 private:
  void Watch() {
    const DWORD limit = static_cast<DWORD>(std::chrono::milliseconds(kRunTimeout).count());
    if (WaitForSingleObject(finished_.Get(), limit) != WAIT_TIMEOUT) return;
    std::string step;
    {
      std::lock_guard<std::mutex> hold(stepLock);
      step = currentStep;
    }
    std::fprintf(stderr, "The run did not end in time; the last step waited for %s. Open dialogs:%s\n",
                 step.c_str(), DescribeOpenDialogs().c_str());
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
  }

  ScopedHandle finished_;
  std::thread thread_;
};
}  // namespace

void WaitFor(const std::string& what, const std::function<bool()>& done) {
  {
    std::lock_guard<std::mutex> hold(stepLock);
    currentStep = what;
  }
  const auto deadline = Clock::now() + kStepTimeout;
  while (!done()) {
    if (Clock::now() > deadline) throw RunStopped("gave up waiting for " + what);
    Sleep(20);
  }
}

// Reading a window's text sends a message to the thread that owns it; the
// deadline keeps a stuck window from stalling the user as well.
std::string TextOf(HWND hwnd) {
  wchar_t text[1024] = L"";
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &ignored);
  return TextFromWide(text);
}

std::string Readable(const std::string& text) {
  const std::wstring wide = WideFromText(text);
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::vector<std::string> StaticTextsOf(HWND dialog) {
  std::vector<std::string> texts;
  for (HWND child : DescendantsOf(dialog))
    if (ClassOf(child) == L"Static" && IsWindowVisible(child))
      if (std::string text = TextOf(child); !text.empty()) texts.push_back(text);
  return texts;
}

// The folder dialog and the message boxes have no owner: they are top-level
// dialogs of this process.
std::vector<HWND> OpenDialogs() { return OpenDialogs(GetCurrentProcessId()); }

std::string DescribeOpenDialogs() {
  std::string description;
  for (HWND dialog : OpenDialogs()) {
    description += IsFolderDialog(dialog) ? "\n  folder dialog \"" : "\n  message box \"";
    description += Readable(TextOf(dialog)) + "\":";
    for (const std::string& text : StaticTextsOf(dialog)) description += " [" + Readable(text) + "]";
  }
  return description.empty() ? " none" : description;
}

void User::AwaitUsable(control::Name name) {
  HWND hwnd = Handle(name);
  WaitFor(std::string(name) + " to be usable", [&] {
    if (!IsWindowVisible(hwnd)) return false;
    for (HWND around = hwnd; around; around = GetParent(around))
      if (!IsWindowEnabled(around)) return false;
    return true;
  });
}

void User::Click(control::Name name) {
  AwaitUsable(name);
  PostMessageW(Handle(name), BM_CLICK, 0, 0);
}

void User::Tick(control::Name box) {
  Click(box);
  WaitFor(std::string(box) + " to be ticked", [&] { return window_.IsChecked(box); });
}

void User::PressKey(control::Name name, WORD key) {
  AwaitUsable(name);
  ::PressKey(Handle(name), key);
}

void User::Type(control::Name edit, const std::string& text) {
  AwaitUsable(edit);
  for (wchar_t character : WideFromText(text)) PostMessageW(Handle(edit), WM_CHAR, character, 1);
  WaitFor(std::string(edit) + " to show what was typed", [&] { return window_.Text(edit) == text; });
}

void User::ShowPage(int page) {
  if (!ShowTab(Handle(control::选择夹1), page)) throw RunStopped("page " + std::to_string(page) + " did not come up");
}

void User::ChooseFolder(control::Name button, const std::string& prompt, const std::string& folder,
                        control::Name edit) {
  Click(button);
  HWND dialog = AwaitDialog("the folder dialog", true);
  std::vector<std::string> texts = StaticTextsOf(dialog);
  EXPECT_NE(std::find(texts.begin(), texts.end(), prompt), texts.end()) << "the folder dialog lacks its prompt";
  SelectFolder(dialog, folder);
  Press(dialog, IDOK);
  // A message box instead means the page refused the folder.
  WaitFor(std::string(edit) + " to show the chosen folder",
          [&] { return window_.Text(edit) == folder || !OpenDialogs().empty(); });
  if (window_.Text(edit) != folder)
    throw RunStopped("the page did not take the chosen folder " + Readable(folder) + "; it shows \"" +
                     Readable(window_.Text(edit)) + "\"");
}

MessageBoxSeen User::AwaitMessageBox(const std::string& after) {
  HWND box = AwaitDialog("a message box after " + after, false);
  std::string text;
  for (const std::string& line : StaticTextsOf(box)) text += (text.empty() ? "" : "\n") + line;
  return {box, TextOf(box), text};
}

void User::Dismiss(const MessageBoxSeen& box) { Press(box.hwnd, IDOK); }

void User::CloseWindow() {
  if (!OpenDialogs().empty()) throw RunStopped("dialogs were left open");
  PostMessageW(main_, WM_CLOSE, 0, 0);
  WaitFor("the window to close", [&] { return !IsWindow(main_); });
}

void User::CloseEverything() {
  const auto deadline = Clock::now() + std::chrono::seconds(15);
  while (IsWindow(main_) || !OpenDialogs().empty()) {
    if (Clock::now() > deadline) {
      std::fprintf(stderr, "The window and its dialogs did not close; ending the test process.\n");
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
    for (HWND dialog : OpenDialogs())
      PostMessageW(dialog, WM_COMMAND, IsFolderDialog(dialog) ? IDCANCEL : IDOK, 0);
    if (IsWindow(main_)) PostMessageW(main_, WM_CLOSE, 0, 0);
    Sleep(100);
  }
}

void PlayAsUser(Win32Window& window, const std::function<void(User&)>& play) {
  window.Show();
  HWND main = MainWindowOfThisThread();
  ASSERT_NE(main, nullptr) << "the window is not on screen";
  Watchdog watchdog;
  std::thread player([&] {
    User user(window, main);
    try {
      play(user);
      user.CloseWindow();
    } catch (const std::exception& fault) {
      ADD_FAILURE() << fault.what() << "\nOpen dialogs:" << DescribeOpenDialogs();
      user.CloseEverything();
    }
  });
  // A handler's fault comes out of the loop; the user still has to finish first.
  std::exception_ptr fault;
  try {
    window.RunUntilClosed();
  } catch (...) {
    fault = std::current_exception();
  }
  player.join();
  if (fault) std::rethrow_exception(fault);
  EXPECT_TRUE(window.IsClosed());
}
