// The first page in the real Win32 window: a scan and a cleaning driven as a
// user drives them, by clicks and through the system's own folder dialog and
// message boxes.
//
// A window's messages are served by the thread that created it, so the test
// thread creates the window and serves it in RunUntilClosed while a second
// thread plays the user. The user posts clicks (BM_CLICK, handled when the
// window's thread gets to it, as a real click is) and reads what is shown,
// through the Window interface and the dialogs' controls: messages sent to
// the window's thread, which answers them between its own. Every wait has a
// deadline: a step that does not happen fails the test with what is open on
// the screen, and everything is then closed so that RunUntilClosed returns.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <mutex>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "cleaner/cleaner_handlers.h"
#include "cleaner/cleaner_texts.h"
#include "shell/control_names.h"
#include "tests/cleaner/game_fixture.h"
#include "platform/utf8_text.h"
#include "platform/win32/native_text.h"
#include "tests/shell/probe/window_probe.h"
#include "shell/win32/scoped_win.h"
#include "shell/win32/win32_window.h"

namespace {
using namespace control;
using Clock = std::chrono::steady_clock;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

// A step takes well under a second; the margin is for a loaded test machine.
constexpr auto kStepTimeout = std::chrono::seconds(30);

// A whole run, for the watchdog: far more than the few seconds a run takes.
constexpr auto kRunTimeout = std::chrono::seconds(150);

// Ends the user's run early: a step that did not happen in time, or a
// state the next steps cannot start from.
struct RunStopped : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// What the user waits for now, for the watchdog's message.
std::mutex stepLock;
std::string currentStep;

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

// Failure messages are read on terminals that show UTF-8.
std::string Readable(const std::string& text) {
  const std::wstring wide = WideFromText(text);
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::vector<HWND> DescendantsOf(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The texts a dialog shows in its static controls, the empty ones (icons) left out.
std::vector<std::string> StaticTextsOf(HWND dialog) {
  std::vector<std::string> texts;
  for (HWND child : DescendantsOf(dialog))
    if (ClassOf(child) == L"Static" && IsWindowVisible(child))
      if (std::string text = TextOf(child); !text.empty()) texts.push_back(text);
  return texts;
}

// The folder dialog is the dialog with the folder tree; every other dialog
// of the page is a message box.
bool IsFolderDialog(HWND dialog) {
  for (HWND child : DescendantsOf(dialog))
    if (ClassOf(child) == WC_TREEVIEWW) return true;
  return false;
}

// The folder dialog and the message boxes have no owner: they are top-level
// dialogs ("#32770") of this process.
std::vector<HWND> OpenDialogs() {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND hwnd, LPARAM list) {
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770")
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The dialogs on screen, for a failure message.
std::string DescribeOpenDialogs() {
  std::string description;
  for (HWND dialog : OpenDialogs()) {
    description += IsFolderDialog(dialog) ? "\n  folder dialog \"" : "\n  message box \"";
    description += Readable(TextOf(dialog)) + "\":";
    for (const std::string& text : StaticTextsOf(dialog)) description += " [" + Readable(text) + "]";
  }
  return description.empty() ? " none" : description;
}

// The name of the folder that the folder dialog's tree has selected.
std::string SelectedFolderName(HWND dialog) {
  for (HWND tree : DescendantsOf(dialog)) {
    if (ClassOf(tree) != WC_TREEVIEWW) continue;
    DWORD_PTR item = 0;
    if (!SendMessageTimeoutW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, SMTO_ABORTIFHUNG, 5000, &item) || !item) return {};
    wchar_t name[MAX_PATH] = L"";
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = reinterpret_cast<HTREEITEM>(item);
    query.pszText = name;
    query.cchTextMax = MAX_PATH;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query), SMTO_ABORTIFHUNG, 5000, &ignored);
    return TextFromWide(name);
  }
  return {};
}

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
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL,
                          10000, &ignored);
      lastTry = Clock::now();
    }
    return SelectedFolderName(dialog) == name;
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

struct MessageBoxSeen {
  HWND hwnd;
  std::string title, text;
};

struct Row {
  std::string name, folder, verdict;
  bool operator==(const Row&) const = default;
  bool operator<(const Row& other) const {
    return std::tie(name, folder, verdict) < std::tie(other.name, other.folder, other.verdict);
  }
};

void PrintTo(const Row& row, std::ostream* out) {
  *out << "{" << Readable(row.name) << ", " << Readable(row.folder) << ", " << Readable(row.verdict) << "}";
}

// The user in front of the window, on a thread of its own.
class User {
 public:
  User(Win32Window& window, HWND main) : window_(window), main_(main) {}

  HWND Handle(Name name) const { return window_.ControlHandle(name); }

  // A user clicks only what can be clicked: a control that is shown and
  // enabled, in a window that no task-modal message box has disabled.
  void Click(Name name) {
    HWND hwnd = Handle(name);
    WaitFor(std::string(name) + " to be usable", [&] {
      if (!IsWindowVisible(hwnd)) return false;
      for (HWND around = hwnd; around; around = GetParent(around))
        if (!IsWindowEnabled(around)) return false;
      return true;
    });
    PostMessageW(hwnd, BM_CLICK, 0, 0);
  }

  void Tick(Name box) {
    Click(box);
    WaitFor(std::string(box) + " to be ticked", [&] { return window_.IsChecked(box); });
  }

  // Clicks `button`, checks that the folder dialog asks with `prompt`, picks
  // `folder` in it and presses OK; the page then shows the folder in `edit`.
  void ChooseFolder(Name button, const std::string& prompt, const std::string& folder, Name edit) {
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

  MessageBoxSeen AwaitMessageBox(const std::string& after) {
    HWND box = AwaitDialog("a message box after " + after, false);
    std::string text;
    for (const std::string& line : StaticTextsOf(box)) text += (text.empty() ? "" : "\n") + line;
    return {box, TextOf(box), text};
  }

  void Dismiss(const MessageBoxSeen& box) { Press(box.hwnd, IDOK); }

  std::vector<Row> Rows() const {
    std::vector<Row> rows;
    for (int row = 0; row < window_.RowCount(超级列表框_扫描结果); ++row)
      rows.push_back({window_.Cell(超级列表框_扫描结果, row, 0), window_.Cell(超级列表框_扫描结果, row, 1),
                      window_.Cell(超级列表框_扫描结果, row, 2)});
    std::sort(rows.begin(), rows.end());  // the order is the file system's
    return rows;
  }

  bool AllRowsTicked() const {
    for (int row = 0; row < window_.RowCount(超级列表框_扫描结果); ++row)
      if (!window_.IsRowChecked(超级列表框_扫描结果, row)) return false;
    return true;
  }

  // The end of a run that went as planned: nothing may still be open.
  void CloseWindow() {
    if (!OpenDialogs().empty()) throw RunStopped("dialogs were left open");
    PostMessageW(main_, WM_CLOSE, 0, 0);
    WaitFor("the window to close", [&] { return !IsWindow(main_); });
  }

  // After a failure: cancels the folder dialog, confirms message boxes and
  // closes the window until nothing is left. If even that does not work the
  // test process ends here rather than leave the test run hanging.
  void CloseEverything() {
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

 private:
  Win32Window& window_;
  HWND main_;
};

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

// The real window wired to the first page's handlers, over a game directory
// of real files; the program's folder is a temporary one.
class CleaningPageTest : public ::testing::Test {
 protected:
  CleaningPageTest() {
    state.RunDirectory = runDirectory.Path();
    WireCleanerHandlers(window, state);
  }

  // Shows the window and serves it on this thread while `play` acts as the
  // user on another; returns once the window has closed.
  void PlayAsUser(const std::function<void(User&)>& play) {
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

  const CleanerTexts& texts = CleanerTexts::Get();
  GameFixture game;
  TestFolder runDirectory;
  TestFolder backup;
  Win32Window window;
  CleanerState state;
};

TEST_F(CleaningPageTest, ScansWithSizesAndDeletesWhatItFound) {
  const ListedFile good = game.AddFile("ImagePacks2", "good.NPK", Content(64, 1));
  const ListedFile resized = game.AddFile("ImagePacks2", "resized.NPK", Content(100, 2));
  game.AddFile("ImagePacks2", "resized.NPK", Content(101, 2));  // the official file, grown
  game.AddFile("ImagePacks2", "stray.NPK", Content(30, 3));     // not in the list at all
  game.WriteList({{"ImagePacks2", {good, resized}}});

  PlayAsUser([&](User& user) {
    user.ChooseFolder(按钮_选择游戏目录, texts.chooseGameDirectoryPrompt, game.Directory(), 编辑框_游戏目录);
    user.Tick(选择框_大小对比);
    user.Click(按钮_开始扫描);
    MessageBoxSeen found = user.AwaitMessageBox("the scan");
    EXPECT_EQ(found.text, texts.foundBefore + "2" + texts.foundAfter);
    EXPECT_EQ(found.title, texts.hintTitle);
    EXPECT_EQ(user.Rows(), (std::vector<Row>{{"resized.NPK", "ImagePacks2", T(u8"文件大小错误")},
                                             {"stray.NPK", "ImagePacks2", T(u8"非官方文件")}}));
    user.Dismiss(found);

    user.Tick(选择框_全选);
    WaitFor("select-all to tick every row", [&] { return user.AllRowsTicked(); });
    user.Click(按钮_清理文件);
    MessageBoxSeen cleaned = user.AwaitMessageBox("the cleaning");
    EXPECT_EQ(cleaned.text, texts.cleaned);
    EXPECT_EQ(cleaned.title, texts.congratulationsTitle);
    EXPECT_EQ(window.RowCount(超级列表框_扫描结果), 0);
    user.Dismiss(cleaned);
  });

  EXPECT_TRUE(game.Has("ImagePacks2", "good.NPK"));
  EXPECT_FALSE(game.Has("ImagePacks2", "resized.NPK"));
  EXPECT_FALSE(game.Has("ImagePacks2", "stray.NPK"));
}

TEST_F(CleaningPageTest, MovesWhatItFoundIntoTheChosenBackupFolder) {
  const ListedFile good = game.AddFile("ImagePacks2", "good.NPK", Content(64, 1));
  game.AddFile("ImagePacks2", "stray.NPK", Content(30, 3));
  game.WriteList({{"ImagePacks2", {good}}});

  PlayAsUser([&](User& user) {
    user.ChooseFolder(按钮_选择游戏目录, texts.chooseGameDirectoryPrompt, game.Directory(), 编辑框_游戏目录);
    user.Click(按钮_开始扫描);
    MessageBoxSeen found = user.AwaitMessageBox("the scan");
    EXPECT_EQ(found.text, texts.foundBefore + "1" + texts.foundAfter);
    user.Dismiss(found);

    user.ChooseFolder(按钮_备份目录, texts.chooseBackupDirectoryPrompt, backup.Path(), 编辑框_备份目录);
    EXPECT_TRUE(window.IsChecked(选择框_备份到目录));
    user.Tick(选择框_全选);
    WaitFor("select-all to tick every row", [&] { return user.AllRowsTicked(); });
    user.Click(按钮_清理文件);
    MessageBoxSeen cleaned = user.AwaitMessageBox("the cleaning");
    EXPECT_EQ(cleaned.text, texts.cleaned);
    user.Dismiss(cleaned);
  });

  EXPECT_TRUE(game.Has("ImagePacks2", "good.NPK"));
  EXPECT_FALSE(game.Has("ImagePacks2", "stray.NPK"));
  ASSERT_TRUE(backup.Has("stray.NPK"));
  EXPECT_EQ(backup.Read("stray.NPK"), Content(30, 3));
}
}  // namespace
