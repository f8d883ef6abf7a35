#pragma once

#include <string>

#include "platform/file_system.h"

// Why a step failed, said in one line beside the notice.
namespace torvanik {

enum class Reason {
    kNone,
    kDiskFull,
    kReadOnly,
    kInUse,
    kNoDrive,
    kNoDisk,
    kSourceNotRegular,
    kSourceUnreadable,
    kSourceNameUnfit,
    kSourceOnDisk,
    kSourceRead,
    kSourcePosition,
    kSourceChanged,
    kSourceShorter,
    kSourceLonger,
    kSourceWithoutLength,
    kInfoFileMissing,
    kInfoFileNotRegular,
    kInfoFileUnfit,
    kInfoFileWrite,
    kChunkMissing,
    kChunkNotRegular,
    kChunkCreate,
    kChunkWrite,
    kChunkRead,
    kDiskChanged,
    kDiskRemoved,
    kForeignTemporary,
    kDiskGaveBackOtherData,
    kDiskNotReadBack,
    kDestinationOfSet,
    kDestinationCreate,
    kDestinationWrite,
    kDestinationFull,
    kDestinationLength,
    kDestinationChanged,
    kDestinationReadOnly,
    kDestinationGaveBackOtherData,
    kDestinationNotReadBack,
    kUndoFailed,
    kRecordDamaged,
    kRecordOfOtherSet,
    kRecordDestinationChanged,
    kRecordNotSaved,
    kInterrupted,
    kCheckFileWrite,
    kCheckFileRead,
    kChunkDamaged,  // with the disk
    kInfoFileDamaged,
    kOtherSet,
    kNoCheckFiles,
    kCheckFileDamaged,          // with the disk
    kCheckFileTwoDigests,       // with the disk
    kCheckFileMissing,          // with the disk
    kCheckFileWithoutChunk,     // with the disk
    kCheckFileWithoutInfoFile,  // with the disk
    kCheckFileOnlyHere,         // with the disk
    kChunkTooLong,              // with the disk
    kRecordNotRegular,
    kRecordTooLarge,
    kRecordOfOtherUser,
    kStateFolderUnsafe,
    kRecordDisagreesWithDisk,  // with the disk
};

struct Why {
    Reason reason = Reason::kNone;
    int error = 0;     // errno, whose text follows the reason's; 0 for none
    std::string text;  // a reason in words of its own (from the drive), when set

    explicit operator bool() const { return reason != Reason::kNone || !text.empty(); }
};

// The reason for a failed call that left errno: a full or read-only medium and a drive in
// use are told as such; something other than a regular file (or a
// link where none may be) as `notRegular`; anything else as `otherwise`, with errno's text.
Why WhyFromErrno(Reason otherwise, Reason notRegular = Reason::kNone);
// The same for an error taken when its call failed.
Why WhyFromError(int error, Reason otherwise, Reason notRegular = Reason::kNone);
// Why `opened` holds no file: something other than a regular file as `notRegular`, else as
// WhyFromError.
Why WhyNotOpened(const OpenedFile& opened, Reason otherwise, Reason notRegular);

// A reason whose text names disk `disk`.
Why DiskWhy(Reason reason, int disk);

// The line shown: the reason's text, then the system's text of the error, if any.
std::string ReasonLine(const Why& why);

}  // namespace torvanik
