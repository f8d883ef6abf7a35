#include "shell/hand_off.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <memory>

namespace torvanik {

void HandOff::Run(std::function<void()> work) {
    QEventLoop loop;
    struct End {
        bool reached = false;
        QEventLoop* loop;
    };
    const auto end = std::make_shared<End>(End{false, &loop});
    QObject* const window = QCoreApplication::instance();
    {
        const std::lock_guard lock(mutex_);
        work_.emplace_back([work = std::move(work), end, window] {
            work();
            QMetaObject::invokeMethod(
                window,
                [end] {
                    end->reached = true;
                    end->loop->quit();
                },
                Qt::QueuedConnection);
        });
    }
    handed_.notify_one();
    loop.exec();
    // A quit of the application ends the loop early; the work still runs to its end.
    while (!end->reached) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
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
