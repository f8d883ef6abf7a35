#pragma once

#include <optional>
#include <string>

#include "engine/engine_seams.h"
#include "engine/reasons.h"
#include "engine/transfer.h"
#include "engine/transfer_record.h"

// Going on with a transfer where it stopped, from the record its last finished disk left.
namespace torvanik {

// The record of a stopped transfer of `path`, when there is one and the user goes on with
// it. A record the user does not go on with stays until the new transfer's first disk
// replaces it, so that quitting before then loses nothing; a damaged one is removed.
std::optional<TransferRecord> OfferToResume(const EngineSeams& seams, TransferKind kind,
                                            const std::string& path);

// Puts a split whose source was just opened where `record` says it stopped; why not, when
// the source is not the file the record names, unchanged, or the last disk the record
// counts is in the drive and does not end where the record says.
Result<void> ResumeSplit(Transfer& transfer, const EngineSeams& seams,
                         const TransferRecord& record);

// Opens the joined file as the record left it and puts the join where it stopped; why
// not, when disk 1 is of another set, the joined file changed since, or the last disk the
// record counts is in the drive and does not end where the record says.
Result<void> ResumeJoin(Transfer& transfer, const EngineSeams& seams, const TransferRecord& record);

// What to keep of the transfer after a finished disk.
TransferRecord RecordOf(const Transfer& transfer);

// Stages the record the transfer will have once the disk under way is committed, when
// more disks are to come, so that it rides on the disk's flush.
void StageNextRecord(Transfer& transfer, const EngineSeams& seams);

}  // namespace torvanik
