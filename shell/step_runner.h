#pragma once

#include <QObject>
#include <QThreadPool>
#include <functional>

namespace torvanik {

// The one thread on which the window's work that may wait on a medium or a child process
// runs, one piece of work at a time and in the order given, so that the window's own
// thread is always free to paint and to answer the window system. Each piece of work owns
// what it was given.
class StepRunner {
  public:
    StepRunner();
    // Drops what has not begun and waits for the work under way to end: whoever goes
    // after the runner is no longer used by it.
    ~StepRunner();
    StepRunner(const StepRunner&) = delete;
    StepRunner& operator=(const StepRunner&) = delete;

    // Runs `work` on the runner's thread and returns when it has ended, every report it
    // posted to the window's thread handled; meanwhile the calling (window's) thread goes on
    // handling its events. When the application is told to quit meanwhile, `quitting` is
    // called (to stop the work) and the events are still served until the work has ended.
    void RunAndWait(std::function<void()> work, const std::function<void()>& quitting);
    // Runs `work` on the runner's thread once the work before it has ended; returns at once.
    void Post(std::function<void()> work);

  private:
    // Lives on the window's thread: the end of a piece of work is told there.
    QObject relay_;
    QThreadPool thread_;
};

}  // namespace torvanik
