#include "shell/step_runner.h"

#include "shell/served_wait.h"

namespace torvanik {

StepRunner::StepRunner() {
    thread_.setMaxThreadCount(1);
}

StepRunner::~StepRunner() {
    thread_.clear();
    thread_.waitForDone();
}

void StepRunner::RunAndWait(std::function<void()> work, const std::function<void()>& quitting) {
    WaitServingEvents(
        relay_, std::move(work), [this](std::function<void()> marked) { Post(std::move(marked)); },
        quitting);
}

void StepRunner::Post(std::function<void()> work) {
    thread_.start(std::move(work));
}

}  // namespace torvanik
