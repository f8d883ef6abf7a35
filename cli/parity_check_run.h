#pragma once

#include <vector>

#include "cli/step_gate.h"
#include "cli/unattended_watch.h"
#include "engine/engine_seams.h"
#include "engine/transfer.h"

namespace torvanik::cli {

// What the parity disks of a checked set came to.
struct ParityTally {
    bool stopped = false;
    int good = 0;         // parity disks read whole
    bool anyBad = false;  // a parity disk damaged or missing
    int ofSet = 0;        // the parity disks the set has; 0 when none was read
};

// After the data disks: asks for parity disk 1, 2, ... as for a data disk, until the set
// has no more, the user answers `s`, or the disk in the drive is no parity disk at all (a
// set without them); prints what each one is.
ParityTally CheckParityDisks(Transfer& transfer, const EngineSeams& seams, StepGate& gate,
                             UnattendedWatch& watch);

// Whether each data disk in `bad` can be rebuilt from the parity disks read; printed.
void SayWhatParityRebuilds(const std::vector<int>& bad, const ParityTally& parity);

}  // namespace torvanik::cli
