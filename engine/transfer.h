#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/join_parity_state.h"
#include "engine/parity_state.h"
#include "engine/transfer_record.h"
#include "engine/transfer_report.h"
#include "platform/file_system.h"

// One transfer, split or join, owned by its front end: every front end makes its own and
// hands it to the commands.
namespace torvanik {

struct Transfer {
    TransferKind armed = TransferKind::kNone;
    // A disk of the armed transfer is done and more are to come: a new UT or INN asks first.
    bool pending = false;
    // A file was picked for the transfer, and the path strip names it.
    bool filePicked = false;
    // The disk the next KLAR handles.
    int diskNumber = 0;

    std::string sourcePath;       // host path (UTF-8)
    std::string destinationPath;  // host path (UTF-8)
    std::string fileName;         // bare name, Windows-1252
    File source;
    File destination;
    std::int64_t sourceSize = 0;
    std::int64_t bytesWritten = 0;
    std::int64_t joinTotal = 0;
    std::string joinName;  // Windows-1252, at most 99 bytes
    std::int64_t bytesJoined = 0;
    FileTimes fileTimes;
    // The source as UT found it, and the joined file as the last join step left it: a
    // file changed since by anyone else can't be carried on.
    std::optional<FileStamp> sourceStamp;
    std::optional<FileStamp> joinedStamp;
    // The six hex digits in the name of every check file of the set: drawn at UT, read
    // from disk 1 at the join. Empty for a set without check files.
    std::string setIdentity;
    // The join has said that its set carries no check files.
    bool toldNoCheckFiles = false;
    // The free space last measured on the disk in the drive.
    std::int64_t freeKB = 0;
    StagedRecord staged;
    // The parity disks of a split: how many, the slice size, and which one is next.
    ParityState parity;
    // How fast the medium took the last chunk, in bytes a second; 0 before the first.
    double mediumPace = 0;
    // A join that goes on without some of its disks.
    JoinParity joinParity;
};

}  // namespace torvanik
