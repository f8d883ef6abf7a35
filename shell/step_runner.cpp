#include "shell/step_runner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <memory>

namespace torvanik {

StepRunner::StepRunner() {
    thread_.setMaxThreadCount(1);
}

StepRunner::~StepRunner() {
    thread_.clear();
    thread_.waitForDone();
}

void StepRunner::RunAndWait(std::function<void()> work, const std::function<void()>& quitting) {
    QEventLoop loop;
    struct End {
        bool reached = false;
        QEventLoop* loop;
    };
    const auto end = std::make_shared<End>(End{false, &loop});
    Post([work = std::move(work), end, relay = &relay_] {
        work();
        // Queued behind every report the work posted, so those are handled first.
        QMetaObject::invokeMethod(
            relay,
            [end] {
                end->reached = true;
                end->loop->quit();
            },
            Qt::QueuedConnection);
    });
    // A quit of the application ends every loop of the thread, this one too, and lets no
    // new one run: the events are then served without one, as the work is stopped.
    loop.exec();
    if (!end->reached) {
        quitting();
    }
    while (!end->reached) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void StepRunner::Post(std::function<void()> work) {
    thread_.start(std::move(work));
}

}  // namespace torvanik
