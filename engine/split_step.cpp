#include "engine/split_step.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "engine/check_file.h"
#include "engine/copy_loop.h"
#include "engine/disk_set.h"
#include "engine/medium_read_back.h"
#include "engine/parity_files.h"
#include "engine/parity_plan.h"
#include "engine/parity_step.h"
#include "engine/resume.h"
#include "engine/set_on_disk.h"
#include "engine/split_files.h"
#include "engine/step_failure.h"
#include "engine/step_lock.h"
#include "engine/transfer_start.h"

namespace torvanik {
namespace {

constexpr std::int64_t kSmallestUsableFree = 1024;

using Failure = StepFailure;

// The step's phases, in order: prepare, write INFO.FIL, begin the check file, measure the
// room, copy, check the chunk and the check file, commit. Each returns a failure or
// nothing; the undo has one owner, Fail.
class SplitStep {
  public:
    SplitStep(Transfer& t, const EngineSeams& seams, Reports& reports, int disk)
        : t_(t), seams_(seams), reports_(reports), files_(seams.files), disk_(disk) {}

    StepOutcome Run() {
        reports_.Notice(NoticeId::kExamining);
        drive_ = DiskForStep(seams_, disk_, DiskUse::Write);
        std::optional<Failure> failure = Prepare();
        if (!failure) {
            Begin();
            failure = WriteInfoFile();
        }
        if (!failure) {
            failure = BeginCheckFile();
        }
        if (!failure) {
            failure = MeasureRoom();
        }
        if (!failure) {
            failure = Copy();
        }
        if (!failure) {
            failure = Check();
        }
        // The last point at which a stop leaves the disk as it was before the step.
        if (!failure && StopRequested(seams_)) {
            failure = AskAgain(disk_, {Reason::kInterrupted, 0, {}});
        }
        if (!failure) {
            failure = Commit();
        }
        return failure ? Fail(*failure) : Done();
    }

  private:
    // Nothing to undo yet: the source is as UT found it, the disk locked and the source
    // placed where this disk starts.
    std::optional<Failure> Prepare() {
        if (auto changed = SourceChanged()) {
            return changed;
        }
        lock_.emplace(files_, drive_.folder);
        if (!lock_->held()) {
            const Why why = drive_.folder.empty() ? NoDiskWhy(drive_) : lock_->why();
            // With no disk to write on, disk 1 is asked for again and a later disk is full.
            if (why.reason == Reason::kInUse) {
                return AskAgain(disk_, why);
            }
            if (disk_ == 1) {
                return AskAgain(1, why);
            }
            t_.freeKB = 0;
            return Full(why);
        }
        folder_ = ValueOrNone(files_.Identify(drive_.folder, Links::Follow));
        RemoveLeftovers(files_, drive_.folder);
        if (const auto sought = files_.Seek(t_.source, t_.bytesWritten); !sought) {
            return AskAgain(disk_, WhyOfFailure(sought.why(), Reason::kSourcePosition));
        }
        if (SourceIsOnDisk(seams_, t_.source, drive_, t_.fileName, disk_)) {
            return Failure{StepResult::kRefused, {Reason::kSourceOnDisk, 0, {}}};
        }
        return std::nullopt;
    }

    // A source changed in any way since UT would make a set that joins to neither version;
    // the split can't go on until a new UT.
    std::optional<Failure> SourceChanged() {
        if (!torvanik::SourceChanged(t_, files_)) {
            return std::nullopt;
        }
        return Failure{StepResult::kRefused, {Reason::kSourceChanged, 0, {}}};
    }

    void Begin() {
        start_ = t_.bytesWritten;
        begun_ = true;
        reports_.Checkpoint();
    }

    // INFO.FIL on disk 1, written, sealed and read back.
    std::optional<Failure> WriteInfoFile() {
        if (disk_ != 1) {
            return std::nullopt;
        }
        const std::string text = FormatInfoFile(t_.sourceSize, t_.fileName);
        Result<void> written = BeginFileWith(files_, InfoPathOn(seams_, drive_), text,
                                             written_.info, Reason::kInfoFileWrite);
        if (written) {
            written = SealFile(files_, written_.info, Reason::kInfoFileWrite);
        }
        if (written) {
            // INFO.FIL counts as written only when the medium gives it back.
            ByteDigest digest;
            digest.Update(text.data(), text.size());
            written = ReadBackOnMedium(seams_, reports_, written_.info.temporaryPath, 0,
                                       static_cast<std::int64_t>(text.size()), digest, kOnDisk);
        }
        if (written) {
            return std::nullopt;
        }
        Failure failure = AskAgain(1, written.why());
        failure.fullByReason = true;
        return failure;
    }

    // The check file, at its full length before the room is measured so that the chunk
    // leaves room for it; the chunk's digest goes into it after the copy.
    std::optional<Failure> BeginCheckFile() {
        if (t_.setIdentity.empty()) {
            return std::nullopt;
        }
        const auto begun =
            BeginFileWith(files_, CheckFilePathOn(seams_, drive_, t_.setIdentity),
                          CheckFileText({}), written_.checkFile, Reason::kCheckFileWrite);
        if (begun) {
            return std::nullopt;
        }
        Failure failure = AskAgain(disk_, begun.why());
        failure.fullByReason = true;
        return failure;
    }

    // INFO.FIL's line on disk 1, then the chunk's.
    std::string CheckFileText(const Digest128& chunk) const {
        std::string text;
        if (disk_ == 1) {
            const std::string info = FormatInfoFile(t_.sourceSize, t_.fileName);
            text = CheckLine(DigestOf(info.data(), info.size()), "INFO.FIL");
        }
        const std::string path = ChunkPathOn(seams_, drive_, t_.fileName, disk_);
        return text + CheckLine(chunk, path.substr(path.rfind('/') + 1));
    }

    // The room measured with the new INFO.FIL and check file on the disk; the chunk is as
    // large as fits, or with parity disks one slice.
    std::optional<Failure> MeasureRoom() {
        const auto free = files_.FreeBytes(drive_);
        const Why why =
            free ? Why{Reason::kDiskFull, 0, {}} : WhyOfFailure(free.why(), Reason::kChunkCreate);
        t_.freeKB = free ? static_cast<std::int64_t>(*free / 1024) : 0;
        if (!free || *free < static_cast<std::uint64_t>(kSmallestUsableFree)) {
            return Full(why);
        }
        reports_.DiskProgress(disk_, true);
        const auto left = static_cast<std::uint64_t>(t_.sourceSize - t_.bytesWritten);
        const std::uint64_t largest = files_.LargestFile(drive_.folder);
        if (t_.parity.disks > 0) {
            const auto length = ParityChunkLength(t_, seams_, drive_, disk_, *free, largest);
            if (!length) {
                return Full(length.why());
            }
            chunkSize_ = static_cast<std::int64_t>(*length);
            return std::nullopt;
        }
        chunkSize_ = static_cast<std::int64_t>(std::min({*free, left, largest}));
        return std::nullopt;
    }

    std::optional<Failure> Copy() {
        const std::string path = ChunkPathOn(seams_, drive_, t_.fileName, disk_);
        if (const auto begun = BeginFile(files_, path, written_.chunk, Reason::kChunkCreate);
            !begun) {
            Failure failure = AskAgain(disk_, begun.why());
            failure.reasonOnly = true;
            return failure;
        }
        reports_.Notice(NoticeId::kCopyingTo, t_.diskNumber);
        if (disk_ == 1 && t_.parity.disks > 0) {
            reports_.Reason({Reason::kNone, 0, SetTakesText(t_.parity.dataDisks, t_.parity.disks)});
        }
        Result<void> copied =
            CopyChunk(seams_, reports_, t_.source, written_.chunk.file, chunkSize_, t_.bytesWritten,
                      t_.sourceSize, kFromSource,
                      DigestIfChecked(seams_, digest_, static_cast<bool>(written_.checkFile.file)),
                      &t_.mediumPace);
        // A chunk of a set with parity is one slice long, or the set is broken.
        if (!copied && IsOutOfSpace(copied.why()) && t_.parity.disks == 0 &&
            EndChunkWhereRefused()) {
            copied = {};
        }
        if (!copied) {
            const Why& why = copied.why();
            if (why.reason == Reason::kSourceShorter) {
                return Failure{StepResult::kRefused, why};
            }
            const Why told = WhyOfFailure(why, Reason::kChunkWrite);
            return IsOutOfSpace(why) ? Full(told) : AskAgain(disk_, told);
        }
        if (auto changed = SourceChangedWhileCopied()) {
            return changed;
        }
        // A chunk whose times could not be set is still whole.
        static_cast<void>(files_.WriteTimes(written_.chunk.temporaryPath, t_.fileTimes));
        if (const auto sealed = SealWithCheckFile(); !sealed) {
            const Why& why = sealed.why();
            return why.reason == Reason::kDiskFull ? Full(why) : AskAgain(disk_, why);
        }
        return std::nullopt;
    }

    // The bytes copied are the source's as UT found it: nothing changed meanwhile, and the
    // last chunk ends where the source does.
    std::optional<Failure> SourceChangedWhileCopied() {
        if (auto changed = SourceChanged()) {
            return changed;
        }
        if (t_.bytesWritten != t_.sourceSize) {
            return std::nullopt;
        }
        char beyond = 0;
        if (const auto read = files_.Read(&beyond, 1, t_.source); read && *read == 1) {
            return Failure{StepResult::kRefused, {Reason::kSourceLonger, 0, {}}};
        }
        return std::nullopt;
    }

    // The chunk's digest written into its line, and both files flushed to the medium; the
    // record of the transfer after this disk rides on the same flush.
    Result<void> SealWithCheckFile() {
        if (written_.checkFile.file) {
            checkFileText_ = CheckFileText(digest_.Value());
            Result<void> written = files_.Seek(written_.checkFile.file, 0);
            if (written) {
                written = files_.Write(checkFileText_.data(), checkFileText_.size(),
                                       written_.checkFile.file);
            }
            if (!written) {
                return WhyOfFailure(written.why(), Reason::kCheckFileWrite);
            }
        }
        StageNextRecord(t_, seams_);
        return SealFiles(files_, written_.chunk, written_.checkFile, Reason::kChunkWrite);
    }

    // When the medium refused more before the chunk was whole, the chunk ends at the last
    // byte that reached it, if that is enough for a disk; the source goes on from there.
    bool EndChunkWhereRefused() {
        const auto reached = files_.Size(written_.chunk.file);
        if (!reached || *reached < kSmallestUsableFree || StopRequested(seams_)) {
            return false;
        }
        t_.bytesWritten = start_ + *reached;
        return files_.Seek(t_.source, t_.bytesWritten).ok();
    }

    // The chunk and its check file count as written only when the medium gives them back;
    // the check file is read back beside the chunk.
    std::optional<Failure> Check() {
        std::future<Result<void>> checkFileRead;
        if (!checkFileText_.empty()) {
            checkFileRead = ReadBackAsideOnMedium(seams_, written_.checkFile.temporaryPath,
                                                  checkFileText_, kOnDisk);
        }
        Result<void> checked = ReadBackOnMedium(seams_, reports_, written_.chunk.temporaryPath, 0,
                                                t_.bytesWritten - start_, digest_, kOnDisk);
        const Result<void> checkFileReadBack =
            checkFileRead.valid() ? checkFileRead.get() : Result<void>();
        if (checked) {
            checked = checkFileReadBack;
        }
        if (!checked) {
            return AskAgain(disk_, checked.why());
        }
        return std::nullopt;
    }

    // Puts the sealed files under their final names and lets the drive take them. The drive
    // may have a word to say even when it took them.
    std::optional<Failure> Commit() {
        if (auto placed = PlaceSplitFiles(files_, drive_.folder, written_); !placed) {
            return AskAgain(disk_, placed.why());
        }
        if (!StillOnDisk(files_, drive_.folder, folder_, written_)) {
            diskGone_ = true;
            return AskAgain(disk_, {Reason::kDiskRemoved, 0, {}});
        }
        DropOlderFiles(files_, written_);
        const Result<std::string> taken = seams_.drives.Finish(drive_);
        if (!taken) {
            letGo_ = taken.why();
            return AskAgain(disk_, letGo_);
        }
        letGo_ = {Reason::kNone, 0, *taken};
        return std::nullopt;
    }

    // Nothing of a failed step stays: the disk and the source go back to where the step
    // began. The reason is the failure's, or why the way back is not whole. A disk that went
    // away took the step's files with it; its paths now lead elsewhere and are left alone.
    Why Undo(const Why& why) {
        Result<void> undone = diskGone_ ? Result<void>() : TakeBackSplitFiles(files_, written_);
        t_.bytesWritten = start_;
        if (disk_ == 1) {
            // Another disk 1 measures its own room.
            t_.parity.sliceSize = 0;
            t_.parity.dataDisks = 0;
        }
        const auto sought = files_.Seek(t_.source, start_);
        if (undone && !sought) {
            undone = WhyOfFailure(sought.why(), Reason::kUndoFailed);
        }
        reports_.Undone();
        return undone ? why : undone.why();
    }

    StepOutcome Fail(Failure failure) {
        if (StopRequested(seams_)) {
            failure.why = {Reason::kInterrupted, 0, {}};
        }
        Why why = begun_ ? Undo(failure.why) : failure.why;
        if (failure.fullByReason && why.reason == Reason::kDiskFull) {
            failure.result = StepResult::kDiskFull;
        }
        if (failure.reasonOnly) {
            reports_.Reason(why);
        } else if (failure.result == StepResult::kDiskFull) {
            reports_.Notice(NoticeId::kDiskFull, kNoNumber, why);
        } else {
            reports_.Notice(NoticeId::kInsertDiskAgain, failure.number, why);
        }
        return {why.reason == Reason::kInterrupted ? StepResult::kStopped : failure.result, why};
    }

    StepOutcome Done() {
        t_.pending = true;
        if (t_.bytesWritten < t_.sourceSize) {
            reports_.Notice(NoticeId::kInsertDiskAgain, disk_ + 1, letGo_);
            return {StepResult::kAdvanced, letGo_};
        }
        return AfterLastDataDisk(t_, reports_,
                                 disk_ <= 1 ? NoticeId::kSplitDoneOne : NoticeId::kSplitDoneSeveral,
                                 letGo_);
    }

    Transfer& t_;
    const EngineSeams& seams_;
    Reports& reports_;
    FileSystem& files_;
    const int disk_;
    DiskInDrive drive_;
    // What the drive said as it let the disk go, even when it took the files.
    Why letGo_;
    std::optional<StepLock> lock_;
    std::optional<FileIdentity> folder_;  // the drive's folder as the step began
    bool diskGone_ = false;
    bool begun_ = false;
    std::int64_t start_ = 0;
    std::int64_t chunkSize_ = 0;
    SplitFiles written_;
    std::string checkFileText_;
    ByteDigest digest_;
};

}  // namespace

StepOutcome WriteNextDisk(Transfer& transfer, const EngineSeams& seams, Reports& reports,
                          int disk) {
    if (transfer.parity.nextParityDisk > 0) {
        return WriteParityDisk(transfer, seams, reports);
    }
    return SplitStep(transfer, seams, reports, disk).Run();
}

}  // namespace torvanik
