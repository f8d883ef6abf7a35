#pragma once

#include "engine/engine_seams.h"
#include "engine/reports.h"
#include "engine/step_outcome.h"
#include "engine/transfer.h"

namespace torvanik {

// One KLAR of a join on the parity disk it asked for: its volume checked against the set's
// check file and read whole, its recovery slice kept in a file with no name beside the
// joined file, and the holes of the disks skipped made once the set's layout is known. A
// failed step keeps nothing of the disk and asks for it again.
StepOutcome ReadParityDisk(Transfer& transfer, const EngineSeams& seams, Reports& reports);

}  // namespace torvanik
