#pragma once

// The keys of the catalogue's reasons: why a step failed, said in one line beside the
// notice.
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
    kParityDamaged,
    kParityOfAnotherSet,
    kParityWithoutCheckFiles,
    kNoRoomForSlice,  // with the kB the set needs
    kParityScratch,
    kParityWrite,
    kTooManyMissing,  // with the disks missing and those the parity disks cover
    kNotParityDisk,
    kParityDiskDamaged,
    kParityAlreadyRead,
    kRebuildUnsolvable,
    kRebuiltDamaged,  // with the disk
    kNoSuchDisk,      // with the disk
};

}  // namespace torvanik
