#include "cli/failure_streak.h"

namespace torvanik::cli {

void FailureStreak::BeforeStep(const std::string& disk) {
    diskChanged_ = disk != diskLeft_;
}

bool FailureStreak::AfterStep(StepResult result, const std::string& reason,
                              const std::string& disk) {
    if (!Failed(result)) {
        alike_ = 0;
        return false;
    }
    const bool alike = alike_ > 0 && !diskChanged_ && result == result_ && reason == reason_;
    alike_ = alike ? alike_ + 1 : 1;
    result_ = result;
    reason_ = reason;
    diskLeft_ = disk;
    return alike_ >= kMostAlike;
}

}  // namespace torvanik::cli
