#pragma once

#include "engine/engine_seams.h"
#include "engine/reports.h"
#include "engine/step_outcome.h"
#include "engine/transfer.h"

namespace torvanik {

// One KLAR of a join: the chunk of the disk in the drive, appended to the joined file. A
// failed step leaves the joined file exactly as the chunks before made it.
StepOutcome ReadNextDisk(Transfer& transfer, const EngineSeams& seams, Reports& reports, int disk);

}  // namespace torvanik
