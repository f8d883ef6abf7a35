#include "engine/split_step.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "engine/check_file.h"
#include "engine/copy_loop.h"
#include "engine/disk_commit.h"
#include "engine/disk_set.h"
#include "engine/read_back_check.h"
#include "engine/resume.h"
#include "engine/set_on_disk.h"
#include "engine/step_lock.h"

namespace torvanik {
namespace {

constexpr std::int64_t kSmallestUsableFree = 1024;

// Why a phase failed, and what the user is asked for: the same disk (numbered, or without
// a number when the disk can't be used at all), or another disk.
struct Failure {
    StepResult result;
    Why why;
    int number = kNoNumber;
    // The full-disk notice only when the reason left after the undo still says full.
    bool fullByReason = false;
    // The notice on screen stays; only the reason is added.
    bool reasonOnly = false;
};

Failure AskAgain(int number, Why why) {
    return {StepResult::kSameDisk, std::move(why), number};
}

Failure Full(Why why) {
    return {StepResult::kDiskFull, std::move(why)};
}

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
            failure = BeginSums();
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
        Why letGo;
        if (!failure) {
            failure = Commit(letGo);
        }
        return failure ? Fail(*failure) : Done(letGo);
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
        folder_ = files_.Identify(drive_.folder, Links::Follow);
        RemoveLeftovers(files_, drive_.folder);
        if (!files_.Seek(t_.source.get(), t_.bytesWritten)) {
            return AskAgain(disk_, WhyFromErrno(Reason::kSourcePosition));
        }
        if (SourceIsOnDisk(seams_, t_.source.get(), drive_, t_.fileName, disk_)) {
            return Failure{StepResult::kRefused, {Reason::kSourceOnDisk, 0, {}}};
        }
        return std::nullopt;
    }

    // A source changed in any way since UT would make a set that joins to neither version;
    // the split can't go on until a new UT.
    std::optional<Failure> SourceChanged() {
        const auto stamp = files_.Stamp(t_.source.get());
        const auto named = files_.Identify(t_.sourcePath, Links::Follow);
        if (stamp && stamp == t_.sourceStamp && named && named->SameFile(stamp->identity)) {
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
        Why why = BeginFile(files_, InfoPathOn(seams_, drive_), info_, Reason::kInfoFileWrite);
        if (!why && !files_.Write(text.data(), text.size(), info_.stream)) {
            why = WhyFromErrno(Reason::kInfoFileWrite);
        }
        if (!why) {
            why = SealFile(files_, info_, Reason::kInfoFileWrite);
        }
        if (!why) {
            // INFO.FIL counts as written only when the medium gives it back.
            ByteDigest digest;
            digest.Update(text.data(), text.size());
            why = CheckOnMedium(seams_, reports_, info_.temporaryPath, 0,
                                static_cast<std::int64_t>(text.size()), digest, kOnDisk);
        }
        if (!why) {
            return std::nullopt;
        }
        Failure failure = AskAgain(1, why);
        failure.fullByReason = true;
        return failure;
    }

    // The check file, at its full length before the room is measured so that the chunk
    // leaves room for it; the chunk's digest goes into it after the copy.
    std::optional<Failure> BeginSums() {
        if (t_.setIdentity.empty()) {
            return std::nullopt;
        }
        const std::string text = SumsText({});
        Why why = BeginFile(files_, CheckFilePathOn(seams_, drive_, t_.setIdentity), sums_,
                            Reason::kCheckFileWrite);
        if (!why && !files_.Write(text.data(), text.size(), sums_.stream)) {
            why = WhyFromErrno(Reason::kCheckFileWrite);
        }
        if (!why) {
            return std::nullopt;
        }
        Failure failure = AskAgain(disk_, why);
        failure.fullByReason = true;
        return failure;
    }

    // INFO.FIL's line on disk 1, then the chunk's.
    std::string SumsText(const Digest128& chunk) const {
        std::string text;
        if (disk_ == 1) {
            const std::string info = FormatInfoFile(t_.sourceSize, t_.fileName);
            text = CheckLine(DigestOf(info.data(), info.size()), "INFO.FIL");
        }
        const std::string path = ChunkPathOn(seams_, drive_, t_.fileName, disk_);
        return text + CheckLine(chunk, path.substr(path.rfind('/') + 1));
    }

    // The room measured with the new INFO.FIL and check file on the disk; the chunk is as
    // large as fits.
    std::optional<Failure> MeasureRoom() {
        const auto free = files_.FreeBytes(drive_);
        const Why why = free ? Why{Reason::kDiskFull, 0, {}} : WhyFromErrno(Reason::kChunkCreate);
        t_.freeKB = free ? static_cast<std::int64_t>(*free / 1024) : 0;
        if (!free || *free < static_cast<std::uint64_t>(kSmallestUsableFree)) {
            return Full(why);
        }
        reports_.DiskProgress(disk_, true);
        const auto left = static_cast<std::uint64_t>(t_.sourceSize - t_.bytesWritten);
        chunkSize_ =
            static_cast<std::int64_t>(std::min({*free, left, files_.LargestFile(drive_.folder)}));
        return std::nullopt;
    }

    std::optional<Failure> Copy() {
        const std::string path = ChunkPathOn(seams_, drive_, t_.fileName, disk_);
        if (Why why = BeginFile(files_, path, chunk_, Reason::kChunkCreate)) {
            Failure failure = AskAgain(disk_, why);
            failure.reasonOnly = true;
            return failure;
        }
        reports_.Notice(NoticeId::kCopyingTo, t_.diskNumber);
        CopyOutcome outcome =
            CopyChunk(seams_, reports_, t_.source.get(), chunk_.stream, chunkSize_, t_.bytesWritten,
                      t_.sourceSize, DigestIfChecked(seams_, digest_, sums_.stream != nullptr),
                      &t_.mediumPace);
        if (!outcome.whole && outcome.outOfSpace && EndChunkWhereRefused()) {
            outcome = {};
        }
        if (outcome.inputEnded) {
            return Failure{StepResult::kRefused, {Reason::kSourceShorter, 0, {}}};
        }
        if (!outcome.whole) {
            const Why why = WhyFromError(
                outcome.error, outcome.inputFailed ? Reason::kSourceRead : Reason::kChunkWrite);
            return outcome.outOfSpace ? Full(why) : AskAgain(disk_, why);
        }
        if (auto changed = SourceChangedWhileCopied()) {
            return changed;
        }
        files_.WriteTimes(chunk_.temporaryPath, t_.fileTimes);
        if (Why why = SealWithSums()) {
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
        char beyond = 0;
        if (t_.bytesWritten == t_.sourceSize && files_.Read(&beyond, 1, t_.source.get())) {
            return Failure{StepResult::kRefused, {Reason::kSourceLonger, 0, {}}};
        }
        return std::nullopt;
    }

    // The chunk's digest written into its line, and both files flushed to the medium; the
    // record of the transfer after this disk rides on the same flush.
    Why SealWithSums() {
        if (sums_.stream != nullptr) {
            sumsText_ = SumsText(digest_.Value());
            if (!files_.Seek(sums_.stream, 0) ||
                !files_.Write(sumsText_.data(), sumsText_.size(), sums_.stream)) {
                return WhyFromErrno(Reason::kCheckFileWrite);
            }
        }
        StageNextRecord(t_, seams_);
        return SealFiles(files_, chunk_, sums_, Reason::kChunkWrite);
    }

    // When the medium refused more before the chunk was whole, the chunk ends at the last
    // byte that reached it, if that is enough for a disk; the source goes on from there.
    bool EndChunkWhereRefused() {
        const auto reached = files_.Size(chunk_.stream);
        if (!reached || *reached < kSmallestUsableFree || StopRequested(seams_)) {
            return false;
        }
        t_.bytesWritten = start_ + *reached;
        return files_.Seek(t_.source.get(), t_.bytesWritten);
    }

    // The chunk and its check file count as written only when the medium gives them back;
    // the check file is read back beside the chunk.
    std::optional<Failure> Check() {
        std::future<Why> sums;
        if (!sumsText_.empty()) {
            sums = CheckAsideOnMedium(seams_, sums_.temporaryPath, sumsText_, kOnDisk);
        }
        Why why = CheckOnMedium(seams_, reports_, chunk_.temporaryPath, 0, t_.bytesWritten - start_,
                                digest_, kOnDisk);
        const Why sumsWhy = sums.valid() ? sums.get() : Why{};
        if (!why) {
            why = sumsWhy;
        }
        if (why) {
            return AskAgain(disk_, why);
        }
        return std::nullopt;
    }

    // Puts the sealed files under their final names, flushes the folder and lets the drive
    // take them. The drive may have a word to say even when it took them. Older files under
    // those names are moved aside first, so that a failed step puts them back. On disk 1,
    // what a power cut can leave at each point is one whole set or none, never a mix of two:
    //   before anything: the older set whole (its INFO.FIL and chunk), or nothing;
    //   older INFO.FIL and chunk moved aside, folder flushed: no set;
    //   new chunk placed: no set (a chunk without INFO.FIL);
    //   new INFO.FIL placed, folder flushed: the new set whole.
    std::optional<Failure> Commit(Why& letGo) {
        for (auto [file, aside] : {std::pair{&info_, &oldInfo_}, std::pair{&chunk_, &oldChunk_}}) {
            if (file->finalPath.empty()) {
                continue;
            }
            if (Why why = MoveAside(files_, file->finalPath, *aside)) {
                return AskAgain(disk_, why);
            }
        }
        if ((oldInfo_.moved || oldChunk_.moved) && !files_.SyncFolder(drive_.folder)) {
            return AskAgain(disk_, WhyFromErrno(Reason::kChunkWrite));
        }
        for (PendingFile* file : {&chunk_, &sums_, &info_}) {
            if (file->finalPath.empty()) {
                continue;
            }
            if (Why why = PlaceFile(files_, *file)) {
                return AskAgain(disk_, why);
            }
        }
        if (!files_.SyncFolder(drive_.folder)) {
            return AskAgain(disk_, WhyFromErrno(Reason::kChunkWrite));
        }
        if (!StillOnDisk()) {
            diskGone_ = true;
            return AskAgain(disk_, {Reason::kDiskRemoved, 0, {}});
        }
        DropAside(files_, oldInfo_);
        DropAside(files_, oldChunk_);
        const Result<std::string> taken = seams_.drives.Finish(drive_);
        if (!taken) {
            letGo = taken.why();
            return AskAgain(disk_, letGo);
        }
        letGo = {Reason::kNone, 0, *taken};
        return std::nullopt;
    }

    // After the folder's last flush: the drive's folder is still the one the step began in,
    // on the same file system, and every file placed stands at its name there as sealed.
    bool StillOnDisk() {
        if (!StandsAt(files_, drive_.folder, folder_, Links::Follow)) {
            return false;
        }
        for (const PendingFile* file : {&chunk_, &sums_, &info_}) {
            if (!file->finalPath.empty() &&
                !StandsAt(files_, file->finalPath, file->sealed, Links::Refuse)) {
                return false;
            }
        }
        return true;
    }

    // Nothing of a failed step stays: the disk and the source go back to where the step
    // began. The reason is the failure's, or why the way back is not whole. A disk that went
    // away took the step's files with it; its paths now lead elsewhere and are left alone.
    Why Undo(const Why& why) {
        Why undoFailed;
        const auto keepFirst = [&undoFailed](bool done) {
            if (!done && !undoFailed) {
                undoFailed = WhyFromErrno(Reason::kUndoFailed);
            }
        };
        if (!diskGone_) {
            keepFirst(TakeBackFile(files_, chunk_));
            keepFirst(TakeBackFile(files_, sums_));
            keepFirst(TakeBackFile(files_, info_));
            keepFirst(PutBack(files_, oldChunk_));
            keepFirst(PutBack(files_, oldInfo_));
        }
        t_.bytesWritten = start_;
        keepFirst(files_.Seek(t_.source.get(), start_));
        reports_.Undone();
        return undoFailed ? undoFailed : why;
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

    StepOutcome Done(const Why& letGo) {
        t_.pending = true;
        if (t_.bytesWritten < t_.sourceSize) {
            reports_.Notice(NoticeId::kInsertDiskAgain, disk_ + 1, letGo);
            return {StepResult::kAdvanced, letGo};
        }
        t_.pending = false;
        t_.diskNumber = 1;
        t_.source.reset();
        t_.freeKB = 0;
        reports_.Notice(disk_ <= 1 ? NoticeId::kSplitDoneOne : NoticeId::kSplitDoneSeveral,
                        kNoNumber, letGo);
        t_.armed = TransferKind::kNone;
        reports_.Reset(ScreenReset::kNoticeOnly);
        return {StepResult::kFinished, letGo};
    }

    Transfer& t_;
    const EngineSeams& seams_;
    Reports& reports_;
    FileSystem& files_;
    const int disk_;
    DiskInDrive drive_;
    std::optional<StepLock> lock_;
    std::optional<FileIdentity> folder_;  // the drive's folder as the step began
    bool diskGone_ = false;
    bool begun_ = false;
    std::int64_t start_ = 0;
    std::int64_t chunkSize_ = 0;
    PendingFile info_;
    PendingFile chunk_;
    SetAside oldInfo_;
    SetAside oldChunk_;
    PendingFile sums_;
    std::string sumsText_;
    ByteDigest digest_;
};

}  // namespace

StepOutcome WriteNextDisk(Transfer& transfer, const EngineSeams& seams, Reports& reports,
                          int disk) {
    return SplitStep(transfer, seams, reports, disk).Run();
}

}  // namespace torvanik
