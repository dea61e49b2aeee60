#include "downloader/download_engine.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "downloader/download_address.h"
#include "downloader/download_run.h"

namespace {
// What the engine and its worker thread share. The worker keeps it alive
// by itself, so that a worker that outlives a destroyed engine (its
// connections did not close within StopWait) touches nothing freed.
struct EngineState {
  std::mutex mutex;
  std::condition_variable released;
  std::shared_ptr<DownloadRun> run;  // the held task
  bool held = false;
  bool inEndHandler = false;
  bool destroyed = false;
};

void RunTask(std::shared_ptr<EngineState> state, std::shared_ptr<DownloadRun> run, DownloadTask::EventCallback onEvent) {
  run->Execute();
  bool raiseEnd;
  {
    std::lock_guard lock(state->mutex);
    // Checked under the lock, so that Destroy either stops the task before
    // this point or waits for the handler after it.
    raiseEnd = state->inEndHandler = !run->WasStopped();
  }
  // The event's text tells why a download failed; the window does not show it.
  if (raiseEnd && onEvent) onEvent(kTaskEnded, 0, run->FailureReason());
  {
    std::lock_guard lock(state->mutex);
    state->inEndHandler = false;
    state->held = false;
    state->run.reset();
  }
  state->released.notify_all();
}

class WorkerDownloadEngine final : public DownloadEngine {
 public:
  WorkerDownloadEngine(std::shared_ptr<Transport> transport, RetryPolicy retries)
      : transport_(std::move(transport)), retries_(retries) {}
  ~WorkerDownloadEngine() override { Destroy(); }

  bool AddTask(const DownloadTask& task) override {
    std::lock_guard lock(state_->mutex);
    if (state_->destroyed || state_->held || task.SavePath.empty() || !IsDownloadAddress(task.Url)) return false;
    // The previous task's thread has released the task; all it still does is end.
    if (worker_.joinable()) worker_.join();
    state_->held = true;
    state_->run = std::make_shared<DownloadRun>(task, transport_, retries_);
    stopWait_ = std::chrono::milliseconds(std::max(task.StopWait, 0));
    worker_ = std::thread(RunTask, state_, state_->run, task.OnEvent);
    return true;
  }

  std::int64_t CurrentSpeed() override {
    std::lock_guard lock(state_->mutex);
    return state_->run ? state_->run->CurrentSpeed() : 0;
  }

  std::int64_t BytesDone() override {
    std::lock_guard lock(state_->mutex);
    return state_->run ? state_->run->BytesDone() : 0;
  }

  void Destroy() override {
    std::unique_lock lock(state_->mutex);
    if (state_->destroyed) return;
    state_->destroyed = true;
    if (state_->run && !state_->inEndHandler) state_->run->Stop();
    state_->released.wait_for(lock, stopWait_, [&] { return !state_->held || state_->inEndHandler; });
    // A TaskEnded handler that runs already is part of the program's own
    // work (it starts the unpacker): it is waited for whatever it takes.
    if (state_->inEndHandler) state_->released.wait(lock, [&] { return !state_->held; });
    const bool released = !state_->held;
    lock.unlock();
    if (!worker_.joinable()) return;
    if (released)
      worker_.join();
    else
      worker_.detach();  // its connections would not close; the process ends without them
  }

 private:
  const std::shared_ptr<Transport> transport_;
  const RetryPolicy retries_;
  const std::shared_ptr<EngineState> state_ = std::make_shared<EngineState>();
  std::chrono::milliseconds stopWait_{0};
  std::thread worker_;
};
}  // namespace

std::unique_ptr<DownloadEngine> CreateDownloadEngine(std::shared_ptr<Transport> transport, RetryPolicy retries) {
  return std::make_unique<WorkerDownloadEngine>(std::move(transport), retries);
}
