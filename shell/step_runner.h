#pragma once

#include <QThreadPool>
#include <functional>

namespace torvanik {

// The one thread on which the window's work that may wait on a medium or a child process
// runs, one piece of work at a time and in the order given, so that the window's own
// thread is always free to paint and to answer the window system.
class StepRunner {
  public:
    StepRunner();
    // Lets the work under way end and drops what has not begun.
    ~StepRunner();
    StepRunner(const StepRunner&) = delete;
    StepRunner& operator=(const StepRunner&) = delete;

    // Runs `work` on the runner's thread and returns when it has ended; meanwhile the
    // calling (window's) thread goes on handling its events.
    void RunAndWait(const std::function<void()>& work);
    // Runs `work` on the runner's thread once the work before it has ended; returns at once.
    void Post(std::function<void()> work);

  private:
    QThreadPool thread_;
};

}  // namespace torvanik
