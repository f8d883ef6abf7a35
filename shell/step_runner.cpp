#include "shell/step_runner.h"

#include <QEventLoop>

namespace torvanik {

StepRunner::StepRunner() {
    thread_.setMaxThreadCount(1);
}

StepRunner::~StepRunner() {
    thread_.clear();
    thread_.waitForDone();
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
    thread_.start(std::move(work));
}

}  // namespace torvanik
