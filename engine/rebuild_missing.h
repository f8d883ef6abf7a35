#pragma once

#include "engine/engine_seams.h"
#include "engine/reports.h"
#include "engine/step_outcome.h"
#include "engine/transfer.h"

namespace torvanik {

// The end of a join that went on without some data disks, once every other data disk is
// in the joined file and enough recovery slices are at hand: the missing chunks rebuilt
// into their holes, each checked against the set's checksums and read back from the
// destination's medium, the times restored, then the "fullført" notice. A rebuild that
// fails ends the join at its first hole.
StepOutcome FinishParityJoin(Transfer& transfer, const EngineSeams& seams, Reports& reports,
                             const Why& letGo);

}  // namespace torvanik
