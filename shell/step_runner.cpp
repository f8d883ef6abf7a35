#include "shell/step_runner.h"

#include <QEventLoop>

namespace torvanik {

StepRunner::StepRunner() : thread_([this] { Serve(); }) {}

StepRunner::~StepRunner() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    woken_.notify_one();
    thread_.join();
}

void StepRunner::RunAndWait(const std::function<void()>& work) {
    QEventLoop loop;
    Post([&loop, &work] {
        work();
        // Queued behind every report the work posted, so those are handled first.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
}

void StepRunner::Post(std::function<void()> work) {
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    woken_.notify_one();
}

void StepRunner::Serve() {
    for (;;) {
        std::function<void()> work;
        {
            std::unique_lock lock(mutex_);
            woken_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) {
                return;
            }
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        work();
    }
}

}  // namespace torvanik
