#include "engine/disk_rebuild.h"

#include <optional>

#include "engine/check_file.h"
#include "engine/copy_loop.h"
#include "engine/join_parity.h"
#include "engine/medium_read_back.h"
#include "engine/parity_disk.h"
#include "engine/reports.h"
#include "engine/set_on_disk.h"
#include "engine/split_files.h"
#include "engine/step_lock.h"

namespace torvanik {
namespace {

// Why a phase failed, and whether the disk had no room.
struct Failure {
    Why why;
    bool full = false;
};

// The step on the blank disk: INFO.FIL (disk 1), the chunk, the check file, each under a
// temporary name, flushed, read back, then placed; a failure takes them all back.
class RewriteStep {
  public:
    RewriteStep(Transfer& t, const EngineSeams& seams, Reports& reports, int disk, File& joined,
                std::int64_t start, std::int64_t length)
        : t_(t),
          seams_(seams),
          reports_(reports),
          files_(seams.files),
          disk_(disk),
          joined_(joined),
          start_(start),
          length_(length) {}

    StepOutcome Run() {
        drive_ = DiskForStep(seams_, disk_, DiskUse::Write);
        std::optional<Failure> failure = Prepare();
        if (!failure) {
            failure = WriteInfoFile();
        }
        if (!failure) {
            failure = WriteChunkAndCheckFile();
        }
        if (!failure) {
            failure = Check();
        }
        if (!failure && StopRequested(seams_)) {
            failure = Failure{{Reason::kInterrupted, 0, {}}};
        }
        if (!failure) {
            failure = Commit();
        }
        return failure ? Fail(*failure) : Done();
    }

  private:
    std::optional<Failure> Prepare() {
        lock_.emplace(files_, drive_.folder);
        if (!lock_->held()) {
            return Failure{drive_.folder.empty() ? NoDiskWhy(drive_) : lock_->why()};
        }
        folder_ = ValueOrNone(files_.Identify(drive_.folder, Links::Follow));
        RemoveLeftovers(files_, drive_.folder);
        begun_ = true;
        return std::nullopt;
    }

    std::optional<Failure> WriteInfoFile() {
        if (disk_ != 1) {
            return std::nullopt;
        }
        const std::string& text = t_.joinParity.layout->facts.infoFile;
        Result<void> written = BeginFileWith(files_, InfoPathOn(seams_, drive_), text,
                                             written_.info, Reason::kInfoFileWrite);
        if (written) {
            written = SealFile(files_, written_.info, Reason::kInfoFileWrite);
        }
        if (written) {
            ByteDigest digest;
            digest.Update(text.data(), text.size());
            written = ReadBackOnMedium(seams_, reports_, written_.info.temporaryPath, 0,
                                       static_cast<std::int64_t>(text.size()), digest, kOnDisk);
        }
        return Told(written);
    }

    std::optional<Failure> WriteChunkAndCheckFile() {
        const std::string path = ChunkPathOn(seams_, drive_, t_.joinName, disk_);
        Result<void> written = BeginFile(files_, path, written_.chunk, Reason::kChunkCreate);
        if (written) {
            written = files_.Seek(joined_, start_);
        }
        if (written) {
            reports_.Notice(NoticeId::kCopyingTo, disk_);
            std::int64_t done = 0;
            written = CopyChunk(seams_, reports_, joined_, written_.chunk.file, length_, done,
                                length_, kFromChunk, &digest_, &t_.mediumPace);
        }
        if (!written) {
            return Told(WhyOfFailure(written.why(), Reason::kChunkWrite));
        }
        // A chunk whose times could not be set is still whole.
        static_cast<void>(files_.WriteTimes(written_.chunk.temporaryPath, t_.fileTimes));
        std::string lines;
        if (disk_ == 1) {
            const std::string& info = t_.joinParity.layout->facts.infoFile;
            lines = CheckLine(DigestOf(info.data(), info.size()), "INFO.FIL");
        }
        checkFileText_ = lines + CheckLine(digest_.Value(), path.substr(path.rfind('/') + 1));
        written = BeginFileWith(files_, CheckFilePathOn(seams_, drive_, t_.setIdentity),
                                checkFileText_, written_.checkFile, Reason::kCheckFileWrite);
        if (written) {
            written = SealFiles(files_, written_.chunk, written_.checkFile, Reason::kChunkWrite);
        }
        return Told(written);
    }

    std::optional<Failure> Check() {
        auto checkFileRead = ReadBackAsideOnMedium(seams_, written_.checkFile.temporaryPath,
                                                   checkFileText_, kOnDisk);
        Result<void> checked = ReadBackOnMedium(seams_, reports_, written_.chunk.temporaryPath, 0,
                                                length_, digest_, kOnDisk);
        const Result<void> checkFileBack = checkFileRead.get();
        return Told(checked ? checkFileBack : checked);
    }

    std::optional<Failure> Commit() {
        if (auto placed = PlaceSplitFiles(files_, drive_.folder, written_); !placed) {
            return Failure{placed.why()};
        }
        if (!StillOnDisk(files_, drive_.folder, folder_, written_)) {
            diskGone_ = true;
            return Failure{{Reason::kDiskRemoved, 0, {}}};
        }
        DropOlderFiles(files_, written_);
        const Result<std::string> taken = seams_.drives.Finish(drive_);
        if (!taken) {
            return Failure{taken.why()};
        }
        letGo_ = {Reason::kNone, 0, *taken};
        return std::nullopt;
    }

    static std::optional<Failure> Told(const Result<void>& result) {
        if (result) {
            return std::nullopt;
        }
        return Failure{result.why(), IsOutOfSpace(result.why())};
    }

    StepOutcome Fail(Failure failure) {
        if (StopRequested(seams_)) {
            failure.why = {Reason::kInterrupted, 0, {}};
        }
        Why why = failure.why;
        if (begun_ && !diskGone_) {
            if (const auto undone = TakeBackSplitFiles(files_, written_); !undone) {
                why = undone.why();
            }
        }
        reports_.Undone();
        if (failure.full) {
            reports_.Notice(NoticeId::kDiskFull, kNoNumber, {Reason::kDiskFull, 0, {}});
            return {StepResult::kDiskFull, {Reason::kDiskFull, 0, {}}};
        }
        reports_.Notice(NoticeId::kInsertDiskAgain, disk_, why);
        return {why.reason == Reason::kInterrupted ? StepResult::kStopped : StepResult::kSameDisk,
                why};
    }

    StepOutcome Done() {
        reports_.Notice(NoticeId::kSplitDoneOne, kNoNumber, letGo_);
        return {StepResult::kFinished, letGo_};
    }

    Transfer& t_;
    const EngineSeams& seams_;
    Reports& reports_;
    FileSystem& files_;
    const int disk_;
    File& joined_;
    const std::int64_t start_;
    const std::int64_t length_;
    DiskInDrive drive_;
    std::optional<StepLock> lock_;
    std::optional<FileIdentity> folder_;
    bool begun_ = false;
    bool diskGone_ = false;
    SplitFiles written_;
    ByteDigest digest_;
    std::string checkFileText_;
    Why letGo_;
};

}  // namespace

DiskRebuild::DiskRebuild(Transfer& transfer, const EngineSeams& seams, int disk,
                         std::string scratchFolder)
    : t_(transfer), seams_(seams), disk_(disk), scratchFolder_(std::move(scratchFolder)) {}

StepOutcome DiskRebuild::Arm() {
    Reports reports(seams_, t_);
    const JoinStart start = ReadInfoOrParity(t_, seams_, reports);
    if (start == JoinStart::kNone) {
        return {StepResult::kCannotStart, {}};
    }
    auto scratch = seams_.files.CreateUnnamed(scratchFolder_);
    if (!scratch) {
        const Why why = WhyOfFailure(scratch.why(), Reason::kDestinationCreate);
        reports.Notice(NoticeId::kNoDestination, kNoNumber, why);
        return {StepResult::kRefused, why};
    }
    t_.destinationPath = seams_.files.PathOf(*scratch);
    auto joined = seams_.files.OpenRegular(t_.destinationPath, Links::Follow, {});
    if (!joined) {
        const Why why = WhyOfFailure(joined.why(), Reason::kDestinationCreate);
        reports.Notice(NoticeId::kNoDestination, kNoNumber, why);
        return {StepResult::kRefused, why};
    }
    joined_ = std::move(*joined);
    t_.destination = std::move(*scratch);
    t_.joinParity.sliceFolder = scratchFolder_;
    t_.fileName = t_.joinName;
    t_.armed = TransferKind::kJoin;
    t_.diskNumber = 1;
    t_.bytesJoined = 0;
    t_.setIdentity.clear();
    t_.joinedStamp = ValueOrNone(seams_.files.Stamp(t_.destination));
    reports.Reset(ScreenReset::kNothing);
    if (start == JoinStart::kParityDisk) {
        StartFromParityDisk(t_, reports);
    } else {
        reports.Notice(NoticeId::kKeepDiskOne);
    }
    return {StepResult::kArmed, {}};
}

StepOutcome DiskRebuild::AskForBlankDisk() {
    Reports reports(seams_, t_);
    const auto& layout = t_.joinParity.layout;
    if (!layout || disk_ > static_cast<int>(layout->files.size())) {
        const Why why = DiskWhy(Reason::kNoSuchDisk, disk_);
        reports.Notice(NoticeId::kIdlePrompt, kNoNumber, why);
        return {StepResult::kRefused, why};
    }
    start_ = ChunkStart(*layout, disk_);
    length_ = static_cast<std::int64_t>(layout->files[static_cast<std::size_t>(disk_ - 1)].length);
    reports.Notice(NoticeId::kInsertDisk, disk_);
    return {StepResult::kArmed, {}};
}

StepOutcome DiskRebuild::WriteDisk() {
    Reports reports(seams_, t_);
    reports.DiskStepBegun(disk_);
    const StepOutcome outcome =
        RewriteStep(t_, seams_, reports, disk_, joined_, start_, length_).Run();
    reports.Screen();
    return outcome;
}

}  // namespace torvanik
