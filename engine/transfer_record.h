#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/parity_state.h"
#include "engine/transfer_report.h"
#include "platform/durable_file.h"
#include "platform/file_system.h"

// What is kept of a transfer between runs: written after each disk it finished, so that
// a transfer stopped by a crash, a quit or a power cut can go on at the next disk.
namespace torvanik {

struct TransferRecord {
    TransferKind kind = TransferKind::kNone;  // a split or a join
    std::string path;         // the source of a split, the destination of a join (UTF-8)
    std::string setName;      // Windows-1252
    std::string setIdentity;  // of the check files on its disks; empty without them
    std::int64_t total = 0;
    int nextDisk = 0;
    std::int64_t done = 0;  // bytes on the finished disks, or joined
    // The source as UT found it, or the joined file as the last finished disk left it.
    FileStamp file;
    // A split with parity disks: their number, the slice size, the next parity disk. A
    // record without them is of a set without parity.
    ParityState parity;

    bool operator==(const TransferRecord&) const = default;
};

// The record a transfer will have once the disk under way is committed, written beside its
// file before the disk's flush; placed or thrown away when the step ends.
struct StagedRecord {
    TransferRecord record;
    StagedFile file;
};

std::string FormatRecord(const TransferRecord& record);
// None for text that is not a whole record of this format.
std::optional<TransferRecord> ParseRecord(std::string_view text);

}  // namespace torvanik
