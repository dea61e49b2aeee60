#pragma once
// Work that other threads hand to the window's thread, run there in the
// order it was handed over: calls whose caller waits until they are done,
// and work that nobody waits for.
//
// A queue of our own rather than SendMessage: when the window closes, every
// caller that still waits is let go at once, whether or not the window's
// thread will ever look at its messages again (after the window has closed
// it goes on to shut the program down and may wait for those very callers).
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>

class WindowThreadCalls {
 public:
  // Work arrives as `wakeMessage` posted to `window`, whose procedure then
  // calls RunQueued.
  void Open(HWND window, UINT wakeMessage);

  // From another thread: runs `work` on the window's thread and waits until
  // it has run. False when the window closed first and `work` did not run.
  // What `work` throws is thrown here, on the calling thread.
  bool Call(const std::function<void()>& work);
  // From any thread: queues `work` and returns; dropped if the window closes first.
  void Post(std::function<void()> work);

  // On the window's thread: runs what waits. What posted work throws goes
  // on to the caller, with the rest left queued.
  void RunQueued();
  // On the window's thread as the window closes: releases every waiting
  // caller and drops the rest; later work is refused.
  void Close();
  bool IsClosed() const { return closed_; }

 private:
  struct Waiter {
    bool finished = false, ran = false;
    std::exception_ptr fault;
  };
  struct Job {
    std::function<void()> work;
    Waiter* waiter;  // none for posted work
  };

  bool Queue(Job& job);
  void Finish(Waiter& waiter, std::exception_ptr fault);

  std::mutex lock_;
  std::condition_variable finished_;
  std::deque<Job> jobs_;
  HWND window_ = nullptr;
  UINT wakeMessage_ = 0;
  std::atomic<bool> closed_ = false;
};
