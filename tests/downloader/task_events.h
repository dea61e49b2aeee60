#pragma once
// Records the events of a download task, as the program's handler would see
// them, and lets a test wait for the task's end.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "downloader/download_engine.h"

struct TaskEvent {
  int code = 0;
  double value = 0;
  std::string text;
};

class TaskEvents {
 public:
  // The callback for DownloadTask::OnEvent; the recorder must outlive the engine.
  DownloadTask::EventCallback Callback() {
    return [this](int code, double value, const std::string& text) {
      std::lock_guard lock(mutex_);
      events_.push_back({code, value, text});
      changed_.notify_all();
      return 0;
    };
  }

  bool WaitForEnd(std::chrono::milliseconds limit = std::chrono::seconds(60)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return !events_.empty() && events_.back().code == kTaskEnded; });
  }

  std::vector<TaskEvent> Events() {
    std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<TaskEvent> events_;
};
