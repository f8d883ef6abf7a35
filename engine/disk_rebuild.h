#pragma once

#include <string>

#include "engine/engine_seams.h"
#include "engine/step_outcome.h"
#include "engine/transfer.h"
#include "platform/file_system.h"

namespace torvanik {

// A lost data disk written anew: the set is joined without it into a file with no name on
// the local disk, then a blank disk takes exactly the files the lost one held (its chunk,
// its check file with the lines the split wrote, INFO.FIL on disk 1) as one safe step,
// read back from the medium.
class DiskRebuild {
  public:
    DiskRebuild(Transfer& transfer, const EngineSeams& seams, int disk, std::string scratchFolder);

    // INN for the join without the disk: disk 1 in the drive, or a parity disk in its
    // place; kArmed, or why not.
    StepOutcome Arm();
    // After the join has finished: asks for the blank disk; why not, when the join has no
    // such data disk to give.
    StepOutcome AskForBlankDisk();
    // One KLAR on the blank disk: kFinished once its files are there, else the same disk
    // (or another, when it has no room) is asked for again with the reason.
    StepOutcome WriteDisk();

  private:
    Transfer& t_;
    const EngineSeams& seams_;
    const int disk_;
    const std::string scratchFolder_;
    // The joined file, held open so that it outlives the join's own handle.
    File joined_;
    std::int64_t start_ = 0;
    std::int64_t length_ = 0;
};

}  // namespace torvanik
