#pragma once

#include "engine/engine_seams.h"
#include "engine/reports.h"
#include "engine/step_outcome.h"
#include "engine/transfer.h"

namespace torvanik {

// One KLAR of a split after its last data disk: parity disk `transfer.parity.nextParityDisk`
// gets the set's check file, the index of its PAR2 set and one recovery volume, computed
// from the source. The disk changes only when the step succeeds, as with a data disk.
StepOutcome WriteParityDisk(Transfer& transfer, const EngineSeams& seams, Reports& reports);

// The last data disk is done: the parity disks follow, or the split ends with `done`.
StepOutcome AfterLastDataDisk(Transfer& transfer, Reports& reports, NoticeId done,
                              const Why& letGo);

}  // namespace torvanik
