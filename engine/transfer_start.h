#pragma once

#include "engine/disk_set.h"
#include "engine/engine_seams.h"
#include "engine/reasons.h"
#include "engine/reports.h"
#include "engine/transfer.h"

// What UT and INN open before the first disk step.
namespace torvanik {

// Opens the transfer's source for a split (closing a source left open by an earlier one)
// and takes its times and size; why not, when it can't be opened or is a file of the set
// on the drive.
Result<File> OpenSource(Transfer& transfer, const EngineSeams& seams);

// The split's source is no longer the file UT found: changed in any way, or another file
// under its name. A set of it would join to neither version.
bool SourceChanged(Transfer& transfer, FileSystem& files);

// Creates the transfer's destination anew (closing one left open by an earlier join); why
// not, when it can't be made or is a file of the set on the drive.
Result<File> OpenDestination(Transfer& transfer, const EngineSeams& seams);

// Reads INFO.FIL from the drive into joinTotal and joinName; shows notice 0 with 1 and
// fails when it is missing or unfit to join.
bool ReadInfoFile(Transfer& transfer, const EngineSeams& seams, Reports& reports);

// Reads INFO.FIL of `drive` into joinTotal and joinName; why not, when it is missing or
// unfit to join.
Result<void> LoadInfoFile(Transfer& transfer, const EngineSeams& seams, const DiskInDrive& drive);

// Takes INFO.FIL's length and name into joinTotal and joinName; why not, when they are
// unfit to join (`why`, when it has a reason, as the reason).
Result<void> TakeInfo(Transfer& transfer, const InfoFileFacts& info, const Why& why);

}  // namespace torvanik
