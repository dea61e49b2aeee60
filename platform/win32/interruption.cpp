#include "platform/interruption.h"

#include <windows.h>

#include <atomic>
#include <mutex>

#include "platform/win32/stopped_on_interruption.h"

namespace {
// The system gives a closing console about five seconds before it ends the
// program; the work must have stopped within that.
constexpr DWORD kClosingWaitMs = 4500;

std::atomic<int> deferrals{0};
std::atomic<bool> interrupted{false};
std::mutex childLock;  // the handler runs on a thread of its own
HANDLE watchedChild = nullptr;

void StopWatchedChild() {
  std::lock_guard<std::mutex> lock(childLock);
  if (watchedChild) TerminateProcess(watchedChild, STATUS_CONTROL_C_EXIT);
}

BOOL WINAPI OnConsoleControl(DWORD event) {
  // FALSE hands the event on to the system, which ends the program.
  if (deferrals.load() == 0 || interrupted.exchange(true)) return FALSE;
  StopWatchedChild();
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
  // A closed console, a log-off or a shut-down ends the program as soon as
  // this returns, so the work gets its time here; it ends the process itself.
  Sleep(kClosingWaitMs);
  return FALSE;
}
}  // namespace

void CatchInterruptions() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }

bool Interrupted() { return interrupted.load(); }

void EndIfInterrupted() {
  if (interrupted.load()) ExitProcess(STATUS_CONTROL_C_EXIT);
}

InterruptionsDeferred::InterruptionsDeferred() { ++deferrals; }
InterruptionsDeferred::~InterruptionsDeferred() { --deferrals; }

StoppedOnInterruption::StoppedOnInterruption(HANDLE process) {
  std::lock_guard<std::mutex> lock(childLock);
  watchedChild = process;
  if (interrupted.load()) TerminateProcess(process, STATUS_CONTROL_C_EXIT);
}

StoppedOnInterruption::~StoppedOnInterruption() {
  std::lock_guard<std::mutex> lock(childLock);
  watchedChild = nullptr;
}
