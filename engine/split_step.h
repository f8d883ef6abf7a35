#pragma once

#include "engine/engine_seams.h"
#include "engine/reports.h"
#include "engine/step_outcome.h"
#include "engine/transfer.h"

namespace torvanik {

// One KLAR of a split: the next chunk (and on disk 1 INFO.FIL) onto the disk in the drive.
// The disk changes only when the step succeeds; otherwise disk and source are back where
// the step began, and the next KLAR starts it again.
StepOutcome WriteNextDisk(Transfer& transfer, const EngineSeams& seams, Reports& reports, int disk);

}  // namespace torvanik
