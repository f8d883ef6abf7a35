#include "engine/disk_steps.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <limits>

#include "engine/copy_loop.h"
#include "engine/disk_commit.h"
#include "engine/disk_set.h"
#include "engine/engine_notice.h"
#include "engine/read_back_check.h"
#include "engine/stop_request.h"
#include "engine/transfer_state.h"
#include "screen/progress_panel.h"

namespace torvanik {
namespace {

const char* DriveRoot() {
    return DriveRoots[static_cast<std::size_t>(transferState.driveIndex)];
}

// The disk in the selected drive for this step; a drive with no disk has no folder, and
// its paths open nothing, as an empty drive would.
DiskInDrive DiskForStep(const EngineSeams& seams, int disk, DiskUse use) {
    return seams.drives.Resolve(transferState.driveIndex, disk, use);
}

std::string InfoPathOn(const DiskInDrive& drive) {
    return DiskPath(drive, InfoFilePath(DriveRoot()));
}

std::string ChunkPathOn(const DiskInDrive& drive, std::string_view setName, int disk) {
    return DiskPath(drive, ChunkPath(DriveRoot(), ChunkBaseName(setName), disk));
}

Why NoDiskWhy(const DiskInDrive& drive) {
    return drive.whyNone.empty() ? Why{Reason::kNoDrive, 0, {}}
                                 : Why{Reason::kNone, 0, drive.whyNone};
}

// The copy loop moves whole blocks, so its streams need no buffer of their own; with one,
// every block would reach the file in two misaligned pieces.
std::FILE* Unbuffered(std::FILE* stream) {
    if (stream != nullptr) {
        std::setvbuf(stream, nullptr, _IONBF, 0);
    }
    return stream;
}

// The drive's folder, locked against other programs for as long as a step runs.
class StepLock {
  public:
    StepLock(FileSystem& files, const std::string& folder)
        : files_(files), lock_(files.LockFolder(folder)) {}
    ~StepLock() {
        if (lock_ >= 0) {
            files_.Unlock(lock_);
        }
    }
    StepLock(const StepLock&) = delete;
    StepLock& operator=(const StepLock&) = delete;
    bool held() const { return lock_ >= 0; }

  private:
    FileSystem& files_;
    int lock_;
};

// What a step puts back when its chunk can't be moved whole.
struct StepStart {
    std::int64_t done;
    int lastTotalBar;
    std::array<int, 2> barLength;
    int barsBit;

    static StepStart Take(std::int64_t done) {
        const TransferState& s = transferState;
        return {done, s.lastTotalBar, s.barLength, s.viewState & VS_BARS};
    }

    void RestoreBars() const {
        TransferState& s = transferState;
        s.lastDiskBar = 0;
        s.lastTotalBar = lastTotalBar;
        s.barLength = barLength;
        s.viewState = (s.viewState & ~VS_BARS) | barsBit;
    }
};

// The files one split step writes on its disk, and the way back when it fails.
struct SplitStep {
    FileSystem& files;
    StepStart start;
    PendingFile info;
    PendingFile chunk;

    // Nothing of a failed step stays: the disk and the source go back to where the step
    // began, so that KLAR on the same disk starts it again. Says `why`, or why the way
    // back is not whole.
    Why Undo(Why why) {
        TransferState& s = transferState;
        bool undone = TakeBackFile(files, chunk);
        undone = TakeBackFile(files, info) && undone;
        s.bytesWritten = start.done;
        undone = files.Seek(s.sourceFile, start.done) && undone;
        start.RestoreBars();
        return undone ? why : WhyFromErrno(Reason::kUndoFailed);
    }
};

// The source is a file the step would write over on this disk.
bool SourceIsOnDisk(FileSystem& files, std::FILE* source, const DiskInDrive& drive, int disk) {
    const auto id = files.Identify(source);
    if (!id || drive.folder.empty()) {
        return false;
    }
    for (const std::string& path :
         {InfoPathOn(drive), ChunkPathOn(drive, transferState.fileName, disk)}) {
        const auto there = files.Identify(path, Links::Refuse);
        if (there && there->SameFile(*id)) {
            return true;
        }
    }
    return false;
}

// The destination is INFO.FIL or a chunk of the set on the drive, or would be one.
bool DestinationIsOfSet(const EngineSeams& seams, const std::string& destination) {
    const DiskInDrive drive = DiskForStep(seams, 1, DiskUse::Read);
    if (drive.folder.empty()) {
        return false;
    }
    FileSystem& files = seams.files;
    const std::filesystem::path path(destination);
    const auto folder = files.Identify(drive.folder, Links::Follow);
    const auto parent = files.Identify(path.parent_path().string(), Links::Follow);
    const auto target = files.Identify(destination, Links::Follow);

    const std::string chunkPrefix =
        std::filesystem::path(ChunkPathOn(drive, transferState.joinName, 0)).filename().string();
    const std::string prefix = chunkPrefix.substr(0, chunkPrefix.size() - 1);
    const auto isSetName = [&prefix](std::string_view name) {
        return name == "INFO.FIL" ||
               (name.size() > prefix.size() && name.starts_with(prefix) &&
                name.find_first_not_of("0123456789", prefix.size()) == std::string_view::npos);
    };
    if (folder && parent && folder->SameFile(*parent) && isSetName(path.filename().string())) {
        return true;
    }
    if (!target) {
        return false;
    }
    std::vector<std::string> names = files.NamesStartingWith(drive.folder, prefix);
    names.emplace_back("INFO.FIL");
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        const auto there = files.Identify(drive.folder + "/" + name, Links::Refuse);
        return isSetName(name) && there && there->SameFile(*target);
    });
}

// Writes, seals and reads back INFO.FIL; says why when that failed.
Why WriteInfoFile(const EngineSeams& seams, const DiskInDrive& drive, PendingFile& info) {
    if (!BeginFile(seams.files, InfoPathOn(drive), info)) {
        return WhyFromErrno(Reason::kInfoFileWrite);
    }
    const std::string text = FormatInfoFile(transferState.sourceSize, transferState.fileName);
    if (!seams.files.Write(text.data(), text.size(), info.stream) || !SealFile(seams.files, info)) {
        return WhyFromErrno(Reason::kInfoFileWrite);
    }
    // Read back: INFO.FIL counts as written only when the medium gives it back.
    ByteDigest digest;
    digest.Update(text.data(), text.size());
    return CheckOnMedium(seams, info.temporaryPath, 0, static_cast<std::int64_t>(text.size()),
                         digest, kOnDisk);
}

// When the medium refused more before the chunk was whole, the chunk ends at the last
// byte that reached it, if that is enough for a disk; the source goes on from there.
void EndChunkWhereRefused(const EngineSeams& seams, SplitStep& step, CopyOutcome& outcome) {
    TransferState& s = transferState;
    const auto reached = seams.files.Size(step.chunk.stream);
    if (!reached || *reached < kSmallestUsableFree || StopRequested()) {
        return;
    }
    s.bytesWritten = step.start.done + *reached;
    if (seams.files.Seek(s.sourceFile, s.bytesWritten)) {
        outcome = {};
    }
}

// Puts the sealed files under their final names (INFO.FIL last, so that a disk 1 never
// names a set whose chunk is not there), flushes the folder and lets the drive take
// them. False with `why` when the disk did not take them; `why` may carry a reason on
// success too.
bool CommitStep(const EngineSeams& seams, const DiskInDrive& drive, SplitStep& step, Why& why) {
    FileSystem& files = seams.files;
    for (PendingFile* file : {&step.chunk, &step.info}) {
        if (!file->finalPath.empty() && !PlaceFile(files, *file)) {
            why = errno == 0 ? Why{Reason::kDiskChanged, 0, {}} : WhyFromErrno(Reason::kChunkWrite);
            return false;
        }
    }
    if (!files.SyncFolder(drive.folder)) {
        why = WhyFromErrno(Reason::kChunkWrite);
        return false;
    }
    std::string reason;
    const bool taken = seams.drives.Finish(drive, reason);
    why = {Reason::kNone, 0, reason};
    return taken;
}

// The joined file is exactly `length` bytes long, the position at its end: anything
// beyond is cut off; a file grown shorter can't be mended.
bool JoinedFileAt(FileSystem& files, std::FILE* stream, std::int64_t length) {
    const auto before = files.Size(stream);
    if (!before || *before < length) {
        errno = 0;
        return false;
    }
    if (!files.Truncate(stream, length)) {
        return false;
    }
    if (files.Size(stream) != length) {
        errno = 0;
        return false;
    }
    return files.Seek(stream, length);
}

Why JoinFailure(const CopyOutcome& outcome) {
    if (outcome.inputFailed) {
        return WhyFromErrno(Reason::kChunkRead);
    }
    if (outcome.outOfSpace) {
        return {Reason::kDestinationFull, 0, {}};
    }
    return WhyFromErrno(Reason::kDestinationWrite);
}

}  // namespace

std::FILE* OpenSource(const EngineSeams& seams, Why& why) {
    TransferState& s = transferState;
    if (s.sourceFile != nullptr) {
        seams.files.Close(s.sourceFile);
        s.sourceFile = nullptr;
    }
    // A name INFO.FIL can't carry would give a set that can't be joined.
    if (!IsBareFileName(s.fileName) || s.fileName.size() > kMaxSetNameBytes) {
        why = {Reason::kSourceNameUnfit, 0, {}};
        return nullptr;
    }
    std::FILE* stream = Unbuffered(seams.files.OpenRegular(s.sourcePath));
    if (stream == nullptr) {
        why = WhyFromErrno(Reason::kSourceUnreadable, Reason::kSourceNotRegular);
        return nullptr;
    }
    FileTimes times;
    const auto size = seams.files.Size(stream);
    if (!size || !seams.files.ReadTimes(s.sourcePath, times)) {
        why = WhyFromErrno(Reason::kSourceUnreadable);
        seams.files.Close(stream);
        return nullptr;
    }
    if (SourceIsOnDisk(seams.files, stream, DiskForStep(seams, 1, DiskUse::Read), 1)) {
        why = {Reason::kSourceOnDisk, 0, {}};
        seams.files.Close(stream);
        return nullptr;
    }
    s.fileTimes = times;
    s.sourceSize = *size;
    return stream;
}

std::FILE* OpenDestination(const EngineSeams& seams, Why& why) {
    TransferState& s = transferState;
    if (s.destinationFile != nullptr) {
        seams.files.Close(s.destinationFile);
        s.destinationFile = nullptr;
    }
    if (DestinationIsOfSet(seams, s.destinationPath)) {
        why = {Reason::kDestinationOfSet, 0, {}};
        return nullptr;
    }
    std::FILE* stream = Unbuffered(seams.files.CreateOrEmpty(s.destinationPath));
    if (stream == nullptr) {
        why = WhyFromErrno(Reason::kDestinationCreate, Reason::kDestinationCreate);
    }
    return stream;
}

bool ReadInfoFile(Canvas& canvas, const EngineSeams& seams) {
    const DiskInDrive drive = DiskForStep(seams, 1, DiskUse::Read);
    Why why;
    std::FILE* stream = nullptr;
    if (drive.folder.empty()) {
        why = NoDiskWhy(drive);
    } else {
        stream = seams.files.OpenRegular(InfoPathOn(drive), Links::Refuse);
        if (stream == nullptr) {
            why = WhyFromErrno(Reason::kInfoFileMissing, Reason::kInfoFileNotRegular);
        }
    }
    std::int64_t length = -1;
    std::optional<std::string> name;
    if (stream != nullptr) {
        length = ReadInfoNumber(stream);
        name = ReadInfoName(stream);
        seams.files.Close(stream);
    }
    // A set with no length or one the panel's kilobytes can't hold, no name, or a name
    // that is not a bare file name is as good as no disk 1 at all.
    constexpr std::int64_t kLongest = std::numeric_limits<std::int64_t>::max() - 1024;
    if (length < 0 || length > kLongest || !name || name->size() > kMaxSetNameBytes ||
        !IsBareFileName(*name)) {
        if (!why) {
            why = {Reason::kInfoFileUnfit, 0, {}};
        }
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, 1, why);
        return false;
    }
    transferState.joinTotal = length;
    transferState.joinName = *name;
    return true;
}

int WriteNextDisk(Canvas& canvas, const EngineSeams& seams, int disk) {
    TransferState& s = transferState;
    Tell(canvas, seams, notice::kExamining, 1, -1);
    s.lastDiskBar = 0;

    const DiskInDrive drive = DiskForStep(seams, disk, DiskUse::Write);
    const StepLock lock(seams.files, drive.folder);
    if (!lock.held()) {
        const Why why = drive.folder.empty() ? NoDiskWhy(drive) : WhyFromErrno(Reason::kNoDisk);
        // With no disk to write on, disk 1 is asked for again and a later disk is full.
        if (why.reason == Reason::kInUse) {
            TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, disk, why);
        } else if (disk == 1) {
            TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, 1, why);
        } else {
            s.freeKB = 0;
            TellWhy(canvas, seams, notice::kDiskFull, 3, -1, why);
        }
        return 0;
    }
    RemoveLeftovers(seams.files, drive.folder);
    if (!seams.files.Seek(s.sourceFile, s.bytesWritten)) {
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, disk,
                WhyFromErrno(Reason::kSourcePosition));
        return 0;
    }
    if (SourceIsOnDisk(seams.files, s.sourceFile, drive, disk)) {
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, -1, {Reason::kSourceOnDisk, 0, {}});
        return 0;
    }

    SplitStep step{seams.files, StepStart::Take(s.bytesWritten), {}, {}};
    if (Why failed = disk == 1 ? WriteInfoFile(seams, drive, step.info) : Why{}; failed) {
        const Why why = step.Undo(failed);
        if (why.reason == Reason::kDiskFull) {
            TellWhy(canvas, seams, notice::kDiskFull, 3, -1, why);
        } else {
            TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, 1, why);
        }
        return 0;
    }

    // Measured with the new INFO.FIL on the disk.
    const auto free = seams.files.FreeBytes(drive);
    s.freeKB = free ? static_cast<std::int64_t>(*free / 1024) : 0;
    if (!free || *free < static_cast<std::uint64_t>(kSmallestUsableFree)) {
        const Why why = free ? Why{Reason::kDiskFull, 0, {}} : WhyFromErrno(Reason::kChunkCreate);
        TellWhy(canvas, seams, notice::kDiskFull, 3, -1, step.Undo(why));
        return 0;
    }

    DrawProgressPanel(canvas, 1, 0);
    if (disk > 1) {
        DrawBar(canvas, 0, 0);
        DrawBar(canvas, s.lastTotalBar, 1);
    }
    const auto left = static_cast<std::uint64_t>(s.sourceSize - s.bytesWritten);
    const auto chunkSize =
        static_cast<std::int64_t>(std::min({*free, left, seams.files.LargestFile(drive.folder)}));

    if (!BeginFile(seams.files, ChunkPathOn(drive, s.fileName, disk), step.chunk)) {
        // The examining notice stays; only the reason is added.
        Explain(seams, step.Undo(WhyFromErrno(Reason::kChunkCreate)));
        return 0;
    }
    Tell(canvas, seams, notice::kCopyingTo, 1, s.diskNumber);

    ByteDigest digest;
    CopyOutcome outcome = CopyChunk(canvas, seams, s.sourceFile, step.chunk.stream, chunkSize,
                                    s.bytesWritten, s.sourceSize, DigestIfChecked(seams, digest));
    Why failure;
    if (!outcome.whole) {
        failure = WhyFromErrno(outcome.inputFailed ? Reason::kSourceRead : Reason::kChunkWrite);
        if (outcome.outOfSpace) {
            EndChunkWhereRefused(seams, step, outcome);
        }
    }
    if (outcome.whole) {
        seams.files.WriteTimes(step.chunk.temporaryPath, s.fileTimes);
        if (!SealFile(seams.files, step.chunk)) {
            outcome = FailedWrite();
            failure = WhyFromErrno(Reason::kChunkWrite);
        }
    }
    // Read back: the chunk counts as written only when the medium gives it back.
    if (outcome.whole) {
        failure = CheckOnMedium(seams, step.chunk.temporaryPath, 0,
                                s.bytesWritten - step.start.done, digest, kOnDisk);
        outcome.whole = !failure;
    }
    if (!outcome.whole) {
        const Why why = step.Undo(failure);
        if (outcome.outOfSpace) {
            TellWhy(canvas, seams, notice::kDiskFull, 3, -1, why);
        } else {
            TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, disk, why);
        }
        return 0;
    }
    Why said;
    if (!CommitStep(seams, drive, step, said)) {
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, disk, step.Undo(said));
        return 0;
    }

    s.transferPending = 1;
    if (s.bytesWritten < s.sourceSize) {
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, disk + 1, said);
        return 1;
    }
    s.transferPending = 0;
    s.diskNumber = 1;
    seams.files.Close(s.sourceFile);
    s.sourceFile = nullptr;
    s.freeKB = 0;
    TellWhy(canvas, seams, disk <= 1 ? notice::kSplitDoneOne : notice::kSplitDoneSeveral, 1, -1,
            said);
    s.viewState = VS_NOTICE;
    return 0;
}

int ReadNextDisk(Canvas& canvas, const EngineSeams& seams, int disk) {
    TransferState& s = transferState;
    s.lastDiskBar = 0;
    const DiskInDrive drive = DiskForStep(seams, disk, DiskUse::Read);
    if (s.destinationFile == nullptr) {
        // The destination could not be created: nothing to join into.
        Tell(canvas, seams, notice::kNoDestination, 1, -1);
        return 0;
    }
    const StepLock lock(seams.files, drive.folder);
    if (!lock.held()) {
        const Why why = drive.folder.empty() ? NoDiskWhy(drive) : WhyFromErrno(Reason::kNoDisk);
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, disk, why);
        return 0;
    }
    if (!JoinedFileAt(seams.files, s.destinationFile, s.bytesJoined)) {
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, disk,
                WhyFromErrno(Reason::kDestinationLength));
        return 0;
    }
    const std::string chunkPath = ChunkPathOn(drive, s.joinName, disk);
    std::FILE* chunk = Unbuffered(seams.files.OpenRegular(chunkPath, Links::Refuse));
    if (chunk == nullptr) {
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, disk,
                WhyFromErrno(Reason::kChunkMissing, Reason::kChunkNotRegular));
        return 0;
    }
    const auto chunkId = seams.files.Identify(chunk);
    const auto joinedId = seams.files.Identify(s.destinationFile);
    if (chunkId && joinedId && chunkId->SameFile(*joinedId)) {
        seams.files.Close(chunk);
        TellWhy(canvas, seams, notice::kNoDestination, 1, -1, {Reason::kDestinationOfSet, 0, {}});
        return 0;
    }
    // Reading the chunk may move its access time, so its times are taken first.
    FileTimes chunkTimes;
    const bool haveTimes = seams.files.ReadTimes(chunkPath, chunkTimes);
    const auto chunkSize = seams.files.Size(chunk);
    if (!chunkSize) {
        const Why why = WhyFromErrno(Reason::kChunkRead);
        seams.files.Close(chunk);
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, disk, why);
        return 0;
    }

    s.viewState |= VS_BARS;
    Tell(canvas, seams, notice::kCopyingFrom, 1, s.diskNumber);
    const StepStart start = StepStart::Take(s.bytesJoined);
    ByteDigest digest;
    CopyOutcome outcome = CopyChunk(canvas, seams, chunk, s.destinationFile, *chunkSize,
                                    s.bytesJoined, s.joinTotal, DigestIfChecked(seams, digest));
    Why failure;
    if (!outcome.whole) {
        failure = JoinFailure(outcome);
    }
    seams.files.Close(chunk);
    if (outcome.whole && !seams.files.Commit(s.destinationFile)) {
        outcome = FailedWrite();
        failure = JoinFailure(outcome);
    }
    // Read back: the stretch this step appended, from the destination's medium.
    if (outcome.whole) {
        failure = CheckOnMedium(seams, s.destinationPath, start.done, s.bytesJoined - start.done,
                                digest, kInDestination);
        outcome.whole = !failure;
    }
    if (!outcome.whole) {
        // The joined file keeps exactly the chunks joined before this one.
        const bool cut = seams.files.Truncate(s.destinationFile, start.done);
        s.bytesJoined = start.done;
        start.RestoreBars();
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, disk,
                cut ? failure : WhyFromErrno(Reason::kUndoFailed));
        return 0;
    }
    // The disk read is let go; that can't fail the join, but the user hears why it wasn't.
    std::string letGo;
    seams.drives.Finish(drive, letGo);
    const Why said{Reason::kNone, 0, letGo};

    s.transferPending = 1;
    if (s.bytesJoined < s.joinTotal) {
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, disk + 1, said);
        return 1;
    }
    const bool closed = seams.files.Close(s.destinationFile);
    s.destinationFile = nullptr;
    if (!closed) {
        // Without its stream the join can't go on; KLAR then says so.
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, disk,
                WhyFromErrno(Reason::kDestinationWrite));
        return 0;
    }
    s.transferPending = 0;
    s.diskNumber = 1;
    if (haveTimes) {
        s.fileTimes = chunkTimes;
        seams.files.WriteTimes(s.destinationPath, s.fileTimes);
    }
    s.viewState = VS_NOTICE;
    TellWhy(canvas, seams, disk <= 1 ? notice::kJoinDoneOne : notice::kJoinDoneSeveral, 1, -1,
            said);
    return 0;
}

}  // namespace torvanik
