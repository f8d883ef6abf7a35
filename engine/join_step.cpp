#include "engine/join_step.h"

#include <optional>

#include "engine/check_file_entry.h"
#include "engine/copy_loop.h"
#include "engine/disk_commit.h"
#include "engine/join_parity.h"
#include "engine/medium_read_back.h"
#include "engine/rebuild_missing.h"
#include "engine/resume.h"
#include "engine/set_on_disk.h"
#include "engine/step_lock.h"

namespace torvanik {
namespace {

struct Failure {
    StepResult result;
    Why why;
    NoticeId notice = NoticeId::kInsertDiskAgain;
    int number = kNoNumber;
};

// The joined file is exactly `length` bytes long, the position at its end: anything
// beyond (left by an undo that failed) is cut off; a file grown shorter can't be mended.
Result<void> JoinedFileAt(FileSystem& files, File& file, std::int64_t length) {
    const auto before = files.Size(file);
    if (!before) {
        return WhyOfFailure(before.why(), Reason::kDestinationLength);
    }
    if (*before < length) {
        return Why{Reason::kDestinationLength, 0, {}};
    }
    if (*before > length) {
        if (const auto cut = files.Truncate(file, length); !cut) {
            return WhyOfFailure(cut.why(), Reason::kDestinationLength);
        }
    }
    if (const auto after = files.Size(file); !after || *after != length) {
        return Why{Reason::kDestinationLength, 0, {}};
    }
    if (const auto sought = files.Seek(file, length); !sought) {
        return WhyOfFailure(sought.why(), Reason::kDestinationLength);
    }
    return {};
}

// A failed copy or commit as the join tells it: a destination that refused more is full.
Why JoinFailure(const Why& failure) {
    if (IsOutOfSpace(failure)) {
        return {Reason::kDestinationFull, 0, {}};
    }
    return WhyOfFailure(failure, Reason::kDestinationWrite);
}

// The step's phases, in order: prepare (lock, the joined file's length, the check file, the
// chunk), copy, match the chunk with its check file, check. Only the copy has something to
// undo: what it appended.
class JoinStep {
  public:
    JoinStep(Transfer& t, const EngineSeams& seams, Reports& reports, int disk)
        : t_(t), seams_(seams), reports_(reports), files_(seams.files), disk_(disk) {}

    StepOutcome Run() {
        drive_ = DiskForStep(seams_, disk_, DiskUse::Read);
        std::optional<Failure> failure = Prepare();
        if (!failure) {
            failure = Copy();
        }
        if (!failure) {
            failure = MatchCheckFile();
        }
        if (!failure) {
            failure = StillOnDisk();
        }
        if (!failure) {
            failure = Check();
        }
        if (!failure) {
            failure = LetGo();
        }
        if (failure) {
            return Fail(*failure);
        }
        const StepOutcome outcome = Done();
        TellIfWithoutCheckFiles();
        return outcome;
    }

  private:
    Failure AskAgain(Why why) const {
        return {StepResult::kSameDisk, std::move(why), NoticeId::kInsertDiskAgain, disk_};
    }

    std::optional<Failure> Prepare() {
        if (!t_.destination) {
            // The destination could not be created: nothing to join into.
            return Failure{StepResult::kRefused, {}, NoticeId::kNoDestination};
        }
        if (JoinedFileChanged()) {
            return Failure{StepResult::kRefused,
                           {Reason::kDestinationChanged, 0, {}},
                           NoticeId::kInsertDiskAgain};
        }
        lock_.emplace(files_, drive_.folder);
        if (!lock_->held()) {
            return AskAgain(drive_.folder.empty() ? NoDiskWhy(drive_) : lock_->why());
        }
        if (const auto at = JoinedFileAt(files_, t_.destination, t_.bytesJoined); !at) {
            return AskAgain(at.why());
        }
        t_.joinedStamp = ValueOrNone(files_.Stamp(t_.destination));
        if (auto failure = FindInCheckFile()) {
            return failure;
        }
        chunkPath_ = ChunkPathOn(seams_, drive_, t_.joinName, disk_);
        auto opened = files_.OpenRegular(chunkPath_, Links::Refuse,
                                         {Reason::kChunkMissing, Reason::kChunkNotRegular});
        if (!opened) {
            return AskAgain(opened.why());
        }
        chunk_ = std::move(*opened);
        chunk_.Unbuffer();
        folder_ = ValueOrNone(files_.Identify(drive_.folder, Links::Follow));
        chunkId_ = ValueOrNone(files_.Identify(chunk_));
        const auto joinedId = files_.Identify(t_.destination);
        if (chunkId_ && joinedId && chunkId_->SameFile(*joinedId)) {
            return Failure{
                StepResult::kRefused, {Reason::kDestinationOfSet, 0, {}}, NoticeId::kNoDestination};
        }
        // Reading the chunk may move its access time, so its times are taken first.
        chunkTimes_ = ValueOrNone(files_.ReadTimes(chunkPath_));
        const auto size = files_.Size(chunk_);
        if (!size) {
            return AskAgain(WhyOfFailure(size.why(), Reason::kChunkRead));
        }
        chunkSize_ = *size;
        // More than the set has left: a disk of another set, or one damaged.
        if (chunkSize_ > t_.joinTotal - t_.bytesJoined) {
            return AskAgain(DiskWhy(Reason::kChunkTooLong, disk_));
        }
        return std::nullopt;
    }

    // Another program wrote to the joined file, or moved it away, since the last step.
    bool JoinedFileChanged() const {
        const auto stamp = ValueOrNone(files_.Stamp(t_.destination));
        const auto named = files_.Identify(t_.destinationPath, Links::Follow);
        return !stamp || stamp != t_.joinedStamp || !named || !named->SameFile(stamp->identity);
    }

    // What the disk's check file says the chunk is; a disk that the check file shows to be
    // of another set, or disk 1 with INFO.FIL not as its check file says, fails here.
    std::optional<Failure> FindInCheckFile() {
        if (!seams_.drives.settings().checkFile) {
            return std::nullopt;
        }
        CheckFileEntry entry = FindCheckFileEntry(t_, seams_, drive_, disk_);
        if (HasReason(entry.why)) {
            return AskAgain(entry.why);
        }
        expected_ = entry.digest;
        withoutCheckFiles_ = !expected_;
        return std::nullopt;
    }

    std::optional<Failure> Copy() {
        reports_.BarsKept();
        reports_.Notice(NoticeId::kCopyingFrom, t_.diskNumber);
        start_ = t_.bytesJoined;
        begun_ = true;
        reports_.Checkpoint();
        Result<void> copied = CopyChunk(
            seams_, reports_, chunk_, t_.destination, chunkSize_, t_.bytesJoined, t_.joinTotal,
            kFromChunk, DigestIfChecked(seams_, digest_, expected_.has_value()), &t_.mediumPace);
        chunk_ = File();
        if (copied) {
            // The record of the join after this disk rides on the joined file's flush.
            t_.joinedStamp = ValueOrNone(files_.Stamp(t_.destination));
            StageNextRecord(t_, seams_);
            copied = files_.Commit(t_.destination);
        }
        if (!copied) {
            return AskAgain(JoinFailure(copied.why()));
        }
        return std::nullopt;
    }

    // The chunk as it was read, against its line in the check file.
    std::optional<Failure> MatchCheckFile() {
        if (expected_ && digest_.Value() != *expected_) {
            return AskAgain(DiskWhy(Reason::kChunkDamaged, disk_));
        }
        return std::nullopt;
    }

    // The disk is still in the drive, its chunk where it was read. A disk taken out while
    // its chunk was read may still count when every byte read matched its check file.
    std::optional<Failure> StillOnDisk() {
        if (expected_ || (StandsAt(files_, drive_.folder, folder_, Links::Follow) &&
                          StandsAt(files_, chunkPath_, chunkId_, Links::Refuse))) {
            return std::nullopt;
        }
        return AskAgain({Reason::kDiskRemoved, 0, {}});
    }

    // The disk read is let go; a drive that could not finish with it fails the step.
    std::optional<Failure> LetGo() {
        const Result<std::string> finished = seams_.drives.Finish(drive_);
        if (!finished) {
            letGo_ = finished.why();
            return AskAgain(letGo_);
        }
        letGo_ = {Reason::kNone, 0, *finished};
        return std::nullopt;
    }

    // The stretch this step appended, read back from the destination's medium.
    std::optional<Failure> Check() {
        const auto checked = ReadBackOnMedium(seams_, reports_, t_.destinationPath, start_,
                                              t_.bytesJoined - start_, digest_, kInDestination);
        if (!checked) {
            return AskAgain(checked.why());
        }
        return std::nullopt;
    }

    // The joined file keeps exactly the chunks joined before this one.
    Why Undo(const Why& why) {
        const auto cut = files_.Truncate(t_.destination, start_);
        t_.bytesJoined = start_;
        t_.joinedStamp = ValueOrNone(files_.Stamp(t_.destination));
        reports_.Undone();
        return cut ? why : WhyOfFailure(cut.why(), Reason::kUndoFailed);
    }

    StepOutcome Fail(Failure failure) {
        if (StopRequested(seams_)) {
            failure.why = {Reason::kInterrupted, 0, {}};
        }
        const Why why = begun_ ? Undo(failure.why) : failure.why;
        reports_.Notice(failure.notice, failure.number, why);
        return {why.reason == Reason::kInterrupted ? StepResult::kStopped : failure.result, why};
    }

    StepOutcome Done() {
        t_.pending = true;
        t_.joinedStamp = ValueOrNone(files_.Stamp(t_.destination));
        JoinParity& parity = t_.joinParity;
        if (disk_ == 1) {
            parity.firstChunk = chunkSize_;
        }
        parity.lastChunkTimes = chunkTimes_;
        if (t_.bytesJoined >= t_.joinTotal && !parity.skipped.empty()) {
            return FinishParityJoin(t_, seams_, reports_, letGo_);
        }
        if (t_.bytesJoined < t_.joinTotal) {
            reports_.Notice(NoticeId::kInsertDiskAgain, disk_ + 1, letGo_);
            return {StepResult::kAdvanced, letGo_};
        }
        if (const auto closed = files_.Close(std::move(t_.destination)); !closed) {
            // Without its file the join can't go on; KLAR then says so.
            const Why why = WhyOfFailure(closed.why(), Reason::kDestinationWrite);
            reports_.Notice(NoticeId::kInsertDiskAgain, disk_, why);
            return {StepResult::kSameDisk, why};
        }
        t_.pending = false;
        t_.diskNumber = 1;
        if (chunkTimes_) {
            t_.fileTimes = *chunkTimes_;
            // A joined file whose times could not be set is still whole.
            static_cast<void>(files_.WriteTimes(t_.destinationPath, t_.fileTimes));
        }
        t_.armed = TransferKind::kNone;
        reports_.Reset(ScreenReset::kNoticeOnly);
        reports_.Notice(disk_ <= 1 ? NoticeId::kJoinDoneOne : NoticeId::kJoinDoneSeveral, kNoNumber,
                        letGo_);
        return {StepResult::kFinished, letGo_};
    }

    // Once in a join, beside the notice after its first disk without a check file.
    void TellIfWithoutCheckFiles() {
        if (withoutCheckFiles_ && !t_.toldNoCheckFiles) {
            t_.toldNoCheckFiles = true;
            reports_.Reason({Reason::kNoCheckFiles, 0, {}});
        }
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
    std::string chunkPath_;
    std::optional<FileIdentity> folder_;  // the drive's folder as the step began
    std::optional<FileIdentity> chunkId_;
    File chunk_;
    std::optional<FileTimes> chunkTimes_;
    std::int64_t chunkSize_ = 0;
    bool begun_ = false;
    std::int64_t start_ = 0;
    ByteDigest digest_;
    std::optional<Digest128> expected_;
    bool withoutCheckFiles_ = false;
};

}  // namespace

StepOutcome ReadNextDisk(Transfer& transfer, const EngineSeams& seams, Reports& reports, int disk) {
    return JoinStep(transfer, seams, reports, disk).Run();
}

}  // namespace torvanik
