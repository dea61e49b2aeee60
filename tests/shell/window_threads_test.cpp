// The window's thread contract on the in-memory window: a worker thread (the
// download engine's) changes controls and shows message boxes while the
// window's thread reads them and serves its messages. Run under the thread
// sanitizer, a call that touched the controls unguarded would be reported.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

#include "shell/control_names.h"
#include "shell/headless_window.h"
#include "platform/utf8_text.h"

namespace {
using namespace control;

std::string Gbk(std::u8string_view text) { return TextFromUtf8Source(text); }

TEST(WindowThreads, WorkFromAnotherThreadRunsOnTheWindowsTurn) {
  HeadlessWindow window;
  std::thread worker([&] { window.RunOnWindowThread([&] { window.SetText(标签4, "downloading"); }); });
  worker.join();
  EXPECT_EQ(window.Text(标签4), Gbk(u8"空闲中!"));
  window.ProcessWaitingMessages();
  EXPECT_EQ(window.Text(标签4), "downloading");
}

std::string Name(int n) { return "file" + std::to_string(n) + ".NPK"; }

// Everything a download's events do to the window, many times over, while
// the window's thread keeps reading and serving. What the window's thread
// sees is always a state the worker left: a list never shows an item out of
// its order, the progress never goes back.
TEST(WindowThreads, AWorkerChangesControlsWhileTheWindowThreadReadsAndServes) {
  constexpr int kSteps = 2000;
  HeadlessWindow window;
  window.SetProgressMaximum(进度条1, kSteps);
  window.SetTimerPeriod(时钟1, 10);
  const std::thread::id windowThread = std::this_thread::get_id();
  int postedRuns = 0;  // only the window's thread counts
  std::atomic<bool> done = false;

  std::thread worker([&] {
    for (int step = 1; step <= kSteps; ++step) {
      window.SetText(标签4, std::to_string(step));
      window.ListAppend(列表框_NPK文件列表, Name(step));
      window.ComboAppend(组合框_区域服务器, Name(step));
      window.SetProgressPosition(进度条1, step);
      int row = window.AppendRow(超级列表框_扫描结果, Name(step));
      window.SetCell(超级列表框_扫描结果, row, 2, "done");
      if (step % 100 == 0) window.ShowMessage(Name(step), "title", box::kInformation);
      window.RunOnWindowThread([&] {
        EXPECT_EQ(std::this_thread::get_id(), windowThread);
        ++postedRuns;
      });
    }
    window.SetTimerPeriod(时钟1, 0);
    done = true;
  });

  int lastPosition = 0;
  while (!done) {
    window.ProcessWaitingMessages();
    const int position = window.ProgressPosition(进度条1);
    EXPECT_GE(position, lastPosition);
    lastPosition = position;
    const int count = window.ListCount(列表框_NPK文件列表);
    if (count > 0) { EXPECT_EQ(window.ListItem(列表框_NPK文件列表, count - 1), Name(count)); }
    const int rows = window.RowCount(超级列表框_扫描结果);
    if (rows > 0) { EXPECT_EQ(window.Cell(超级列表框_扫描结果, rows - 1, 0), Name(rows)); }
    EXPECT_LE(window.Messages().size(), static_cast<std::size_t>(kSteps / 100));
    window.Text(标签4);
  }
  worker.join();
  window.ProcessWaitingMessages();

  EXPECT_EQ(window.Text(标签4), std::to_string(kSteps));
  ASSERT_EQ(window.ListCount(列表框_NPK文件列表), kSteps);
  ASSERT_EQ(window.ComboCount(组合框_区域服务器), kSteps);
  ASSERT_EQ(window.RowCount(超级列表框_扫描结果), kSteps);
  for (int n = 1; n <= kSteps; ++n) {
    ASSERT_EQ(window.ListItem(列表框_NPK文件列表, n - 1), Name(n));
    ASSERT_EQ(window.ComboItem(组合框_区域服务器, n - 1), Name(n));
    ASSERT_EQ(window.Cell(超级列表框_扫描结果, n - 1, 2), "done");
  }
  EXPECT_EQ(window.ProgressPosition(进度条1), kSteps);
  EXPECT_EQ(window.Control(时钟1).timerPeriod, 0);
  ASSERT_EQ(window.messages.size(), static_cast<std::size_t>(kSteps / 100));
  EXPECT_EQ(window.messages.back().text, Name(kSteps));
  EXPECT_EQ(postedRuns, kSteps);
}

// Only the window's thread serves the window's messages: a worker that asks
// for it runs neither the posted work nor the user's waiting clicks.
TEST(WindowThreads, WaitingMessagesAreServedOnTheWindowsThreadOnly) {
  HeadlessWindow window;
  int clicks = 0;
  window.onWaitingMessages = [&] { ++clicks; };
  window.RunOnWindowThread([&] { window.SetText(标签4, "posted"); });
  std::thread worker([&] { window.ProcessWaitingMessages(); });
  worker.join();
  EXPECT_EQ(window.Text(标签4), Gbk(u8"空闲中!"));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(window.waitingMessageCalls, 0);

  window.ProcessWaitingMessages();
  EXPECT_EQ(window.Text(标签4), "posted");
  EXPECT_EQ(clicks, 1);
}

// A fault in a worker's call is the worker's: thrown to it, with the window
// unharmed.
TEST(WindowThreads, AWorkersFaultIsThrownToTheWorker) {
  HeadlessWindow window;
  bool thrown = false;
  std::thread worker([&] {
    try {
      window.SetText("no such control", "x");
    } catch (const std::invalid_argument&) {
      thrown = true;
    }
  });
  worker.join();
  EXPECT_TRUE(thrown);
  EXPECT_FALSE(window.IsClosed());
}

// Closing is seen by a worker that watches for it, so it can stop early.
TEST(WindowThreads, AWorkerSeesTheWindowClose) {
  HeadlessWindow window;
  std::atomic<bool> started = false;
  std::thread worker([&] {
    started = true;
    while (!window.IsClosed()) window.SetText(标签4, "busy");
  });
  while (!started) std::this_thread::yield();
  window.Close();
  worker.join();
  EXPECT_TRUE(window.IsClosed());
}
}  // namespace
