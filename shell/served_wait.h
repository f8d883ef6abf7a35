#pragma once

#include <QObject>
#include <functional>

namespace torvanik {

// Hands a piece of work to another thread, to run there in its turn.
using WorkPoster = std::function<void(std::function<void()>)>;

// Runs `work` on another thread through `post` and returns once it has ended and every report
// it queued to `relay` (which lives on the calling thread) has been handled; meanwhile the
// calling thread goes on serving its events. When the application is told to quit meanwhile,
// `quitting` is called, if given (to stop the work), and the events are still served until
// the work has ended.
void WaitServingEvents(QObject& relay, std::function<void()> work, const WorkPoster& post,
                       const std::function<void()>& quitting = {});

}  // namespace torvanik
