#include "shell/hand_off.h"

#include <QCoreApplication>

#include "shell/served_wait.h"

namespace torvanik {

// A quit of the application does not stop the work: it runs to its end.
void HandOff::Run(std::function<void()> work) {
    WaitServingEvents(*QCoreApplication::instance(), std::move(work),
                      [this](std::function<void()> marked) { Queue(std::move(marked)); });
}

void HandOff::Queue(std::function<void()> work) {
    {
        const std::lock_guard lock(mutex_);
        work_.push_back(std::move(work));
    }
    handed_.notify_one();
}

void HandOff::Serve() {
    for (;;) {
        std::unique_lock lock(mutex_);
        handed_.wait(lock, [this] { return closed_ || !work_.empty(); });
        if (work_.empty()) {
            return;
        }
        std::function<void()> work = std::move(work_.front());
        work_.pop_front();
        lock.unlock();
        work();
    }
}

// Told under the lock: the serving thread may let the hand-off go as soon as it is free.
void HandOff::Close() {
    const std::lock_guard lock(mutex_);
    closed_ = true;
    handed_.notify_one();
}

}  // namespace torvanik
