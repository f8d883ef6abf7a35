#pragma once

#include "engine/reasons.h"

namespace torvanik {

// What a command or a disk step came to.
enum class StepResult {
    kArmed,       // UT or INN armed a transfer
    kIdle,        // nothing armed: the command asked, or was answered, and changed nothing
    kAdvanced,    // the disk is done; the next KLAR handles the next disk
    kFinished,    // the last disk is done and the transfer is over
    kSameDisk,    // the step failed; the next KLAR tries the same disk again
    kDiskFull,    // the disk has no room; another disk, or room made, is needed
    kRefused,     // the files given can't take part in this transfer
    kStopped,     // a stop was requested; the step was undone
    kCannotStart  // no disk 1 to join from
};

struct StepOutcome {
    StepResult result = StepResult::kIdle;
    Why why;  // the reason beside the notice, if any
};

}  // namespace torvanik
