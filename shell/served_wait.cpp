#include "shell/served_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <memory>

namespace torvanik {

void WaitServingEvents(QObject& relay, std::function<void()> work, const WorkPoster& post,
                       const std::function<void()>& quitting) {
    QEventLoop loop;
    struct End {
        bool reached = false;
        QEventLoop* loop;
    };
    const auto end = std::make_shared<End>(End{false, &loop});
    post([work = std::move(work), end, relay = &relay] {
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
    if (!end->reached && quitting) {
        quitting();
    }
    while (!end->reached) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace torvanik
