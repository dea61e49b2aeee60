#include "platform/interruption.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

#include "platform/posix/stopped_on_interruption.h"

namespace {
constexpr int kInterruptions[] = {SIGINT, SIGTERM, SIGHUP};

// Shared with the signal handler, so lock-free atomics only.
std::atomic<int> deferrals{0};
std::atomic<int> caughtSignal{0};  // 0 until an interruption is deferred
std::atomic<pid_t> watchedChild{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<pid_t>::is_always_lock_free);

void EndBySignal(int signalNumber) {
  signal(signalNumber, SIG_DFL);
  // Inside the handler the signal waits until the handler returns; then the
  // default action ends the program.
  raise(signalNumber);
}

void OnInterruption(int signalNumber) {
  if (deferrals.load() == 0 || caughtSignal.load() != 0) {
    EndBySignal(signalNumber);
    return;
  }
  caughtSignal.store(signalNumber);
  pid_t child = watchedChild.load();
  if (child > 0) kill(child, SIGKILL);
}
}  // namespace

void CatchInterruptions() {
  struct sigaction action {};
  action.sa_handler = OnInterruption;
  sigemptyset(&action.sa_mask);
  for (int signalNumber : kInterruptions) sigaddset(&action.sa_mask, signalNumber);
  // No SA_RESTART: a blocking call returns early, so the work sees the
  // interruption soon.
  action.sa_flags = 0;
  for (int signalNumber : kInterruptions) {
    struct sigaction before {};
    // A signal ignored when the program started (nohup, a background job)
    // stays ignored.
    if (sigaction(signalNumber, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    sigaction(signalNumber, &action, nullptr);
  }
}

bool Interrupted() { return caughtSignal.load() != 0; }

void EndIfInterrupted() {
  const int signalNumber = caughtSignal.load();
  if (signalNumber == 0) return;
  EndBySignal(signalNumber);
  _exit(128 + signalNumber);  // only when the signal is blocked here
}

InterruptionsDeferred::InterruptionsDeferred() { ++deferrals; }
InterruptionsDeferred::~InterruptionsDeferred() { --deferrals; }

StoppedOnInterruption::StoppedOnInterruption(pid_t pid) {
  watchedChild.store(pid);
  // An interruption that came before the child was known stops it now.
  if (Interrupted()) kill(pid, SIGKILL);
}

StoppedOnInterruption::~StoppedOnInterruption() { watchedChild.store(0); }
