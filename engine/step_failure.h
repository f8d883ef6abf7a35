#pragma once

#include <utility>

#include "engine/reasons.h"
#include "engine/step_outcome.h"
#include "engine/transfer_report.h"

// How a phase of a disk step that writes fails.
namespace torvanik {

// Why a phase failed, and what the user is asked for: the same disk (numbered, or without
// a number when the disk can't be used at all), or another disk.
struct StepFailure {
    StepResult result;
    Why why;
    int number = kNoNumber;
    // The full-disk notice only when the reason left after the undo still says full.
    bool fullByReason = false;
    // The notice on screen stays; only the reason is added.
    bool reasonOnly = false;
};

inline StepFailure AskAgain(int number, Why why) {
    return {StepResult::kSameDisk, std::move(why), number};
}

inline StepFailure Full(Why why) {
    return {StepResult::kDiskFull, std::move(why)};
}

}  // namespace torvanik
