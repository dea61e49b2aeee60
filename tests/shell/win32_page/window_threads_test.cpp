// The real window's thread contract: a worker thread, as the download
// engine's, sets captions, fills lists, moves a progress bar, stops the
// timer and shows a message box while the window's thread runs its loop;
// closing the window lets go a worker that waits for it; a handler's fault
// closes the window and comes out of the loop instead of through the system.
//
// Every test has a deadline: a deadlock ends the test process with a
// message rather than hanging the test run.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "shell/control_names.h"
#include "shell/win32/win32_window.h"
#include "tests/shell/probe/window_probe.h"

namespace {
using namespace control;

// Ends the test process if the test outlives its deadline.
class Deadline {
 public:
  explicit Deadline(const char* what) : what_(what), thread_([this] { Watch(); }) {}
  ~Deadline() {
    {
      std::lock_guard hold(lock_);
      finished_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

 private:
  void Watch() {
    std::unique_lock hold(lock_);
    if (wake_.wait_for(hold, std::chrono::seconds(60), [this] { return finished_; })) return;
    std::fprintf(stderr, "Deadlocked: %s did not end within a minute.\n", what_);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
  }

  const char* what_;
  std::mutex lock_;
  std::condition_variable wake_;
  bool finished_ = false;
  std::thread thread_;
};

HWND MainWindowOf(const Win32Window& window) { return GetAncestor(window.ControlHandle(标签4), GA_ROOT); }

// The message box that thread `owner` shows, once it is on screen.
HWND AwaitMessageBoxOf(DWORD owner) {
  for (int tries = 0; tries < 1500; ++tries) {
    struct Search {
      DWORD thread;
      HWND found;
    } search{owner, nullptr};
    EnumThreadWindows(
        owner,
        [](HWND hwnd, LPARAM data) {
          if (ClassOf(hwnd) == L"#32770" && IsWindowVisible(hwnd)) reinterpret_cast<Search*>(data)->found = hwnd;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(20);
  }
  return nullptr;
}

std::string Item(int n) { return "file" + std::to_string(n) + ".NPK"; }

// What the window's thread saw once the worker had finished.
struct SeenOnWindowThread {
  bool onWindowThread = false;
  std::string caption;
  std::vector<std::string> items;
  int progress = -1, rows = 0;
  std::string cell;
  int ticksAtStop = 0, ticksLater = 0;
};

TEST(Win32WindowThreads, AWorkersChangesReachTheControlsWhileTheWindowRunsItsLoop) {
  Deadline deadline("the worker's changes");
  Win32Window window;
  window.Show();
  const HWND main = MainWindowOf(window);
  const DWORD windowThread = GetCurrentThreadId();
  std::atomic<int> ticks = 0;
  window.SetHandler(时钟1, [&] { ++ticks; });
  window.SetTimerPeriod(时钟1, 10);

  SeenOnWindowThread seen;
  std::string seenByWorker;
  bool faultThrownToWorker = false;
  bool windowServedDuringBox = false, windowEnabledDuringBox = false, boxHasNoOwner = false;
  std::atomic<int> ticksAtStop = 0;
  std::thread worker([&] {
    while (ticks == 0) Sleep(10);  // the download runs while the timer ticks
    window.SetText(标签4, "downloading");
    seenByWorker = window.Text(标签4);
    for (int n = 1; n <= 50; ++n) window.ListAppend(列表框_NPK文件列表, Item(n));
    window.SetProgressMaximum(进度条1, 1000);
    window.SetProgressPosition(进度条1, 640);
    int row = window.AppendRow(超级列表框_扫描结果, Item(1));
    window.SetCell(超级列表框_扫描结果, row, 2, "done");
    try {
      window.SetText("no such control", "x");
    } catch (const std::invalid_argument&) {
      faultThrownToWorker = true;
    }
    window.SetTimerPeriod(时钟1, 0);
    ticksAtStop = ticks.load();

    // The box blocks this thread only: meanwhile a user answers it from a
    // third thread, and the window still serves calls and stays usable.
    const DWORD boxThread = GetCurrentThreadId();
    std::thread user([&] {
      HWND box = AwaitMessageBoxOf(boxThread);
      if (!box) return;
      boxHasNoOwner = GetWindow(box, GW_OWNER) == nullptr;
      windowEnabledDuringBox = IsWindowEnabled(main) != FALSE;
      window.SetText(标签_已下载, "served");
      windowServedDuringBox = window.Text(标签_已下载) == "served";
      PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    window.ShowMessage("downloaded", "title", box::kInformation);
    user.join();

    window.RunOnWindowThread([&] {
      seen.onWindowThread = GetCurrentThreadId() == windowThread;
      seen.caption = window.Text(标签4);
      for (int n = 0; n < window.ListCount(列表框_NPK文件列表); ++n) seen.items.push_back(window.ListItem(列表框_NPK文件列表, n));
      seen.progress = window.ProgressPosition(进度条1);
      seen.rows = window.RowCount(超级列表框_扫描结果);
      seen.cell = window.Cell(超级列表框_扫描结果, 0, 2);
      PostMessageW(main, WM_CLOSE, 0, 0);
    });
  });
  window.RunUntilClosed();
  worker.join();

  EXPECT_EQ(seenByWorker, "downloading");
  EXPECT_TRUE(faultThrownToWorker);
  EXPECT_TRUE(boxHasNoOwner);
  EXPECT_TRUE(windowEnabledDuringBox);
  EXPECT_TRUE(windowServedDuringBox);
  EXPECT_TRUE(seen.onWindowThread);
  EXPECT_EQ(seen.caption, "downloading");
  ASSERT_EQ(seen.items.size(), 50u);
  for (int n = 1; n <= 50; ++n) EXPECT_EQ(seen.items[n - 1], Item(n));
  EXPECT_EQ(seen.progress, 640);
  EXPECT_EQ(seen.rows, 1);
  EXPECT_EQ(seen.cell, "done");
  // Stopped from the worker, the timer ticked no more, though the window's
  // loop ran on while the box was open.
  EXPECT_GT(ticksAtStop.load(), 0);
  EXPECT_EQ(ticks.load(), ticksAtStop.load());
  EXPECT_TRUE(window.IsClosed());
}

// The window's thread closes the window while a worker waits for it, and
// then joins the worker without serving messages any more, as shut-down
// does: the worker must have been let go.
TEST(Win32WindowThreads, ClosingLetsGoAWorkerThatWaitsForTheWindow) {
  Deadline deadline("closing with a worker waiting");
  Win32Window window;
  const HWND main = MainWindowOf(window);
  std::atomic<bool> calling = false;
  std::string answer = "unset";
  std::thread worker;
  window.SetHandler(时钟1, [&] {
    window.SetTimerPeriod(时钟1, 0);
    // The window's thread is busy in this handler, so the worker's call has to wait.
    worker = std::thread([&] {
      calling = true;
      window.SetText(标签4, "late");
      answer = window.Text(标签4);
    });
    while (!calling) Sleep(1);
    Sleep(200);  // the worker is inside its call by now
    SendMessageW(main, WM_CLOSE, 0, 0);
  });
  window.SetTimerPeriod(时钟1, 10);
  window.RunUntilClosed();
  worker.join();
  EXPECT_EQ(answer, "");  // the closed window answers nothing
  EXPECT_TRUE(window.IsClosed());
}

// A fault must not unwind through the system's frames: the window closes
// and the fault comes out of the loop, whether a control's handler or work
// handed over by another thread threw it.
TEST(Win32WindowThreads, AFaultInTheWindowsThreadClosesTheWindowAndLeavesTheLoop) {
  Deadline deadline("a fault on the window's thread");
  {
    Win32Window window;
    window.SetHandler(时钟1, [] { throw std::runtime_error("handler failed"); });
    window.SetTimerPeriod(时钟1, 10);
    EXPECT_THROW(window.RunUntilClosed(), std::runtime_error);
    EXPECT_TRUE(window.IsClosed());
  }
  {
    Win32Window window;
    std::thread worker([&] { window.RunOnWindowThread([] { throw std::logic_error("posted work failed"); }); });
    worker.join();
    EXPECT_THROW(window.RunUntilClosed(), std::logic_error);
    EXPECT_TRUE(window.IsClosed());
  }
}
}  // namespace
