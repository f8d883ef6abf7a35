#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace torvanik {

// Work the window's thread hands to a thread that waits for it (the runner's, while a
// dialog of its question is open), one piece at a time: the window's thread goes on serving
// its events until the piece has run there.
class HandOff {
  public:
    // On the window's thread: runs `work` on the serving thread and returns once it has run.
    void Run(std::function<void()> work);
    // On the serving thread: runs what is handed over, until Close.
    void Serve();
    // On the window's thread: Serve returns once the work handed over has run.
    void Close();

  private:
    // Hands `work` to the serving thread, behind what it has been handed before.
    void Queue(std::function<void()> work);

    std::mutex mutex_;
    std::condition_variable handed_;
    std::deque<std::function<void()>> work_;
    bool closed_ = false;
};

}  // namespace torvanik
