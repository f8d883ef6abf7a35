#pragma once

#include <string>

#include "engine/step_outcome.h"

namespace torvanik::cli {

// Counts the steps in a row that failed the same way (same result, same reason line)
// while the disk stayed as the step before left it. Nobody is there to change the disk in
// an unattended run, so such a run ends after a few of them.
class FailureStreak {
  public:
    static constexpr int kMostAlike = 3;

    static bool Failed(StepResult result) {
        return result != StepResult::kAdvanced && result != StepResult::kFinished;
    }
    // Whether the disk is looked at before the next step: only after a failed one.
    bool Counting() const { return alike_ > 0; }

    // `disk`: the fingerprint of the disk as the step finds it.
    void BeforeStep(const std::string& disk);
    // `disk`: the fingerprint as the step left it, needed only when it failed. True when
    // this is the kMostAlike-th alike failure in a row.
    bool AfterStep(StepResult result, const std::string& reason, const std::string& disk);

  private:
    int alike_ = 0;
    bool diskChanged_ = false;
    StepResult result_ = StepResult::kIdle;
    std::string reason_;
    std::string diskLeft_;
};

}  // namespace torvanik::cli
