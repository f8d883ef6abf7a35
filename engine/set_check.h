#pragma once

#include <optional>

#include "engine/engine_seams.h"
#include "engine/reasons.h"
#include "engine/transfer.h"

// A set checked disk by disk against its check files, without joining it: nothing is
// written anywhere.
namespace torvanik {

enum class DiskVerdict {
    kGood,         // the chunk (and on disk 1 INFO.FIL) as its check file says
    kDamaged,      // the chunk is not as its check file says
    kInfoDamaged,  // disk 1's INFO.FIL is not as its check file says: the set can't be followed on
    kOtherSet,     // the disk's check file is another set's
    kNoCheckFile,  // nothing to check the chunk against
    kUnreadable,   // no chunk of the set, or one that can't be read
    kMissing,      // gone on without: the user has no such disk
};

struct DiskCheck {
    DiskVerdict verdict = DiskVerdict::kGood;
    Why why;  // why the disk is unreadable, or damaged when its check file is at fault
    // The set's chunks are all counted: there is no disk after this one.
    bool last = false;
};

// Reads INFO.FIL from disk 1 as INN does, showing notice 0 with 1 when it can't; then
// shows the notice that keeps disk 1 in the drive.
bool BeginSetCheck(Transfer& transfer, const EngineSeams& seams);

// Checks the disk in the drive as disk transfer.diskNumber, reading its chunk from the
// medium. A disk of the set (good, damaged or without a check file) counts its chunk's
// bytes and moves diskNumber on; any other is to be put in again.
DiskCheck CheckNextDisk(Transfer& transfer, const EngineSeams& seams);

// Goes on without disk transfer.diskNumber, counting it as missing. Its chunk is as long
// as disk 1's, which every chunk but the last of a set with parity disks is; none once
// disk 1 is skipped, whose length is not known.
std::optional<DiskCheck> SkipDiskInCheck(Transfer& transfer);

}  // namespace torvanik
