#pragma once

#include "engine/engine_seams.h"
#include "engine/reports.h"
#include "engine/step_outcome.h"
#include "engine/transfer.h"

// A join that goes on without some of its data disks and takes them from the set's
// parity disks: which disk comes next, and the end when too many are missing.
namespace torvanik {

// The most parity disks a set has.
inline constexpr int kMostParityDisks = 9;

// The command of a disk the user goes on without: the data disk the next KLAR would read
// (the join then asks for the next parity disk, unless those read already cover it), or
// the parity disk asked for (the next one is asked for instead).
StepOutcome OnSkipDisk(Transfer& transfer, const EngineSeams& seams);

// What INN found in the drive: disk 1, or a parity disk in its place (disk 1 is then
// skipped, and the first KLAR reads the parity disk); nothing, once notice 0 with 1 is
// shown.
enum class JoinStart { kNone, kDiskOne, kParityDisk };
JoinStart ReadInfoOrParity(Transfer& transfer, const EngineSeams& seams, Reports& reports);

// After INN on a parity disk: the join goes on without disk 1 and reads the parity disk
// in the drive first.
void StartFromParityDisk(Transfer& transfer, Reports& reports);

// The next KLAR reads a parity disk, not a data disk.
bool AwaitsParityDisk(const Transfer& transfer);

// Whether a data disk whose step failed for `why` may be taken from the parity disks: the
// set may have them (it has check files, as every such set has) and the disk was at fault,
// not the destination or a stop.
bool MayTakeFromParity(const Transfer& transfer, const Why& why);

// The disk number a drive of numbered disks (floppy images) gives the parity disk asked
// for: after the set's data disks.
int ParityDiskInDrive(const Transfer& transfer);

// Before any parity disk was read, a disk in its place that is none says the set may have
// no parity disks: the one data disk given up is asked for again (once). False when the
// join has gone further than that.
bool TakeBackSkip(Transfer& transfer);

// What comes after a data disk skipped or a parity disk read: the next parity disk when
// those read don't yet cover the disks skipped, the rebuild once every data disk is done,
// else the next data disk. `letGo` goes beside the notice.
StepOutcome GoOnAfterDisk(Transfer& transfer, const EngineSeams& seams, Reports& reports,
                          const Why& letGo);

// Makes the hole of each skipped disk that has none yet, once the layout is known: the
// joined file grows by the chunk's length.
Result<void> MakeHoles(Transfer& transfer, const EngineSeams& seams);

// Ends the join that can't be made whole: the joined file cut back to its first hole, so
// that no file of the whole length with wrong bytes is left, and `why` said.
StepOutcome EndAtFirstHole(Transfer& transfer, const EngineSeams& seams, Reports& reports,
                           const Why& why);

}  // namespace torvanik
