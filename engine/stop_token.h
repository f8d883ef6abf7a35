#pragma once

#include <atomic>

namespace torvanik {

// A request to end the running step at its next safe point, the disk left as it was
// before the step. The front end owns it and hands it to the steps through their seams;
// its signal handlers or its window request the stop from any thread.
class StopToken {
  public:
    // Safe to call from a signal handler.
    void Request() noexcept { requested_.store(true, std::memory_order_relaxed); }
    bool Requested() const noexcept { return requested_.load(std::memory_order_relaxed); }
    // Before the next step, once the stopped one has ended.
    void Clear() noexcept { requested_.store(false, std::memory_order_relaxed); }

  private:
    static_assert(std::atomic<bool>::is_always_lock_free);
    std::atomic<bool> requested_ = false;
};

}  // namespace torvanik
