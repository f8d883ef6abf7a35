#include "engine/disk_steps.h"

#include <algorithm>
#include <array>

#include "engine/copy_loop.h"
#include "engine/disk_set.h"
#include "engine/engine_notice.h"
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

// The copy loop moves whole blocks, so its streams need no buffer of their own; with one,
// every block would reach the file in two misaligned pieces.
std::FILE* Unbuffered(std::FILE* stream) {
    if (stream != nullptr) {
        std::setvbuf(stream, nullptr, _IONBF, 0);
    }
    return stream;
}

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

bool WriteInfoFile(const EngineSeams& seams, const DiskInDrive& drive) {
    const std::string path = DiskPath(drive, InfoFilePath(DriveRoot()));
    std::FILE* stream = path.empty() ? nullptr : seams.files.Open(path, "wb");
    if (stream == nullptr) {
        return false;
    }
    const std::string text = FormatInfoFile(transferState.sourceSize, transferState.fileName);
    const bool written =
        seams.files.Write(text.data(), text.size(), stream) && seams.files.Commit(stream);
    return seams.files.Close(stream) && written;
}

// Writes the chunk whole and flushes it to the medium before it is closed.
CopyOutcome WriteChunk(Canvas& canvas, const EngineSeams& seams, std::FILE* chunk,
                       std::int64_t chunkSize) {
    TransferState& s = transferState;
    CopyOutcome outcome =
        CopyChunk(canvas, seams, s.sourceFile, chunk, chunkSize, s.bytesWritten, s.sourceSize);
    if (outcome.whole && !seams.files.Commit(chunk)) {
        outcome = FailedWrite();
    }
    if (!seams.files.Close(chunk) && outcome.whole) {
        outcome = FailedWrite();
    }
    return outcome;
}

}  // namespace

std::FILE* OpenSource(const EngineSeams& seams) {
    TransferState& s = transferState;
    if (s.sourceFile != nullptr) {
        seams.files.Close(s.sourceFile);
        s.sourceFile = nullptr;
    }
    // A name INFO.FIL can't carry would give a set that can't be joined.
    if (!IsBareFileName(s.fileName) || s.fileName.size() > kMaxSetNameBytes) {
        return nullptr;
    }
    FileTimes times;
    if (!seams.files.ReadTimes(s.sourcePath, times)) {
        return nullptr;
    }
    s.fileTimes = times;
    std::FILE* stream = Unbuffered(seams.files.OpenRegular(s.sourcePath));
    if (stream == nullptr) {
        return nullptr;
    }
    const auto size = seams.files.Size(stream);
    if (!size) {
        seams.files.Close(stream);
        return nullptr;
    }
    s.sourceSize = *size;
    return stream;
}

std::FILE* OpenDestination(const EngineSeams& seams) {
    TransferState& s = transferState;
    if (s.destinationFile != nullptr) {
        seams.files.Close(s.destinationFile);
        s.destinationFile = nullptr;
    }
    return Unbuffered(seams.files.Open(s.destinationPath, "wb"));
}

bool ReadInfoFile(Canvas& canvas, const EngineSeams& seams) {
    const DiskInDrive drive = DiskForStep(seams, 1, DiskUse::Read);
    const std::string path = DiskPath(drive, InfoFilePath(DriveRoot()));
    std::FILE* stream = path.empty() ? nullptr : seams.files.OpenRegular(path);
    std::int64_t length = -1;
    std::optional<std::string> name;
    if (stream != nullptr) {
        length = ReadInfoNumber(stream);
        name = ReadInfoName(stream);
        seams.files.Close(stream);
    }
    // A set with no length, no name, or a name that is not a bare file name is as good
    // as no disk 1 at all.
    if (length < 0 || !name || name->size() > kMaxSetNameBytes || !IsBareFileName(*name)) {
        Tell(canvas, seams, notice::kInsertDiskAgain, 2, 1);
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
    if (disk == 1 && !WriteInfoFile(seams, drive)) {
        Tell(canvas, seams, notice::kInsertDiskAgain, 2, 1);
        return 0;
    }

    const auto free = drive.folder.empty() ? std::nullopt : seams.files.FreeBytes(drive);
    s.freeKB = free ? static_cast<std::int64_t>(*free / 1024) : 0;
    const std::string baseName = ChunkBaseName(s.fileName);
    if (!free || *free < static_cast<std::uint64_t>(kSmallestUsableFree)) {
        Tell(canvas, seams, notice::kDiskFull, 3, -1);
        return 0;
    }

    DrawProgressPanel(canvas, 1, 0);
    if (disk > 1) {
        DrawBar(canvas, 0, 0);
        DrawBar(canvas, s.lastTotalBar, 1);
    }
    const std::int64_t left = s.sourceSize - s.bytesWritten;
    const std::int64_t chunkSize =
        static_cast<std::int64_t>(std::min<std::uint64_t>(*free, static_cast<std::uint64_t>(left)));

    const std::string chunkPath = DiskPath(drive, ChunkPath(DriveRoot(), baseName, disk));
    std::FILE* chunk = chunkPath.empty() ? nullptr : Unbuffered(seams.files.Open(chunkPath, "wb"));
    if (chunk == nullptr) {
        return 0;
    }
    Tell(canvas, seams, notice::kCopyingTo, 1, s.diskNumber);

    const StepStart start = StepStart::Take(s.bytesWritten);
    CopyOutcome outcome = WriteChunk(canvas, seams, chunk, chunkSize);
    std::string reason;
    if (outcome.whole) {
        seams.files.WriteTimes(chunkPath, s.fileTimes);
        // A disk that did not take the committed files fails the step like a broken chunk.
        outcome.whole = seams.drives.Finish(drive, reason);
    }
    if (!outcome.whole) {
        // Nothing of a broken chunk stays: the disk and the source go back to where the
        // step began, so that KLAR on the same disk starts it again.
        seams.files.Remove(chunkPath);
        seams.files.Seek(s.sourceFile, start.done);
        s.bytesWritten = start.done;
        start.RestoreBars();
        if (outcome.outOfSpace) {
            Tell(canvas, seams, notice::kDiskFull, 3, -1);
        } else {
            Tell(canvas, seams, notice::kInsertDiskAgain, 2, disk);
        }
        return 0;
    }

    s.transferPending = 1;
    if (s.bytesWritten < s.sourceSize) {
        Tell(canvas, seams, notice::kInsertDiskAgain, 2, disk + 1);
        return 1;
    }
    s.transferPending = 0;
    s.diskNumber = 1;
    seams.files.Close(s.sourceFile);
    s.sourceFile = nullptr;
    s.freeKB = 0;
    Tell(canvas, seams, disk <= 1 ? notice::kSplitDoneOne : notice::kSplitDoneSeveral, 1, -1);
    s.viewState = VS_NOTICE;
    return 0;
}

int ReadNextDisk(Canvas& canvas, const EngineSeams& seams, int disk) {
    TransferState& s = transferState;
    s.lastDiskBar = 0;
    const DiskInDrive drive = DiskForStep(seams, disk, DiskUse::Read);
    const std::string chunkPath =
        DiskPath(drive, ChunkPath(DriveRoot(), ChunkBaseName(s.joinName), disk));
    if (s.destinationFile == nullptr) {
        // The destination could not be created: nothing to join into.
        Tell(canvas, seams, notice::kNoDestination, 1, -1);
        return 0;
    }
    std::FILE* chunk = chunkPath.empty() ? nullptr : Unbuffered(seams.files.OpenRegular(chunkPath));
    // Reading the chunk may move its access time, so its times are taken first.
    FileTimes chunkTimes;
    const bool haveTimes = chunk != nullptr && seams.files.ReadTimes(chunkPath, chunkTimes);
    const auto chunkSize = chunk != nullptr ? seams.files.Size(chunk) : std::nullopt;
    if (!chunkSize) {
        if (chunk != nullptr) {
            seams.files.Close(chunk);
        }
        Tell(canvas, seams, notice::kInsertDiskAgain, 2, disk);
        return 0;
    }

    s.viewState |= VS_BARS;
    Tell(canvas, seams, notice::kCopyingFrom, 1, s.diskNumber);
    const StepStart start = StepStart::Take(s.bytesJoined);
    CopyOutcome outcome =
        CopyChunk(canvas, seams, chunk, s.destinationFile, *chunkSize, s.bytesJoined, s.joinTotal);
    seams.files.Close(chunk);
    if (outcome.whole && !seams.files.Commit(s.destinationFile)) {
        outcome.whole = false;
    }
    if (!outcome.whole) {
        // The joined file keeps exactly the chunks joined before this one.
        seams.files.Truncate(s.destinationFile, start.done);
        s.bytesJoined = start.done;
        start.RestoreBars();
        Tell(canvas, seams, notice::kInsertDiskAgain, 2, disk);
        return 0;
    }
    std::string reason;
    seams.drives.Finish(drive, reason);

    s.transferPending = 1;
    if (s.bytesJoined < s.joinTotal) {
        Tell(canvas, seams, notice::kInsertDiskAgain, 2, disk + 1);
        return 1;
    }
    seams.files.Close(s.destinationFile);
    s.destinationFile = nullptr;
    s.transferPending = 0;
    s.diskNumber = 1;
    if (haveTimes) {
        s.fileTimes = chunkTimes;
        seams.files.WriteTimes(s.destinationPath, s.fileTimes);
    }
    s.viewState = VS_NOTICE;
    Tell(canvas, seams, disk <= 1 ? notice::kJoinDoneOne : notice::kJoinDoneSeveral, 1, -1);
    return 0;
}

}  // namespace torvanik
