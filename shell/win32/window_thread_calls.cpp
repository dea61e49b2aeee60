#include "shell/win32/window_thread_calls.h"

#include <utility>

void WindowThreadCalls::Open(HWND window, UINT wakeMessage) {
  std::lock_guard hold(lock_);
  window_ = window;
  wakeMessage_ = wakeMessage;
}

bool WindowThreadCalls::Queue(Job& job) {
  // Called with the lock held.
  if (closed_ || !window_) return false;
  jobs_.push_back(std::move(job));
  if (PostMessageW(window_, wakeMessage_, 0, 0)) return true;
  job = std::move(jobs_.back());  // the window is gone already, or its queue is full
  jobs_.pop_back();
  return false;
}

bool WindowThreadCalls::Call(const std::function<void()>& work) {
  Waiter waiter;
  Job job{work, &waiter};
  std::unique_lock hold(lock_);
  if (!Queue(job)) return false;
  finished_.wait(hold, [&] { return waiter.finished; });
  if (waiter.fault) std::rethrow_exception(waiter.fault);
  return waiter.ran;
}

void WindowThreadCalls::Post(std::function<void()> work) {
  Job job{std::move(work), nullptr};
  std::lock_guard hold(lock_);
  Queue(job);
}  // refused work is destroyed after the lock is let go, as what it holds may call back

void WindowThreadCalls::Finish(Waiter& waiter, std::exception_ptr fault) {
  {
    std::lock_guard hold(lock_);
    waiter.fault = std::move(fault);
    waiter.ran = true;
    waiter.finished = true;
  }
  finished_.notify_all();
}

void WindowThreadCalls::RunQueued() {
  for (;;) {
    Job job;
    {
      std::lock_guard hold(lock_);
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    if (!job.waiter) {
      job.work();
      continue;
    }
    std::exception_ptr fault;
    try {
      job.work();
    } catch (...) {
      fault = std::current_exception();
    }
    Finish(*job.waiter, std::move(fault));
  }
}

void WindowThreadCalls::Close() {
  std::deque<Job> dropped;
  {
    std::lock_guard hold(lock_);
    closed_ = true;
    for (Job& job : jobs_)
      if (job.waiter) job.waiter->finished = true;
    dropped.swap(jobs_);
  }
  finished_.notify_all();
}
