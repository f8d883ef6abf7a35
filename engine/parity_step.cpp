#include "engine/parity_step.h"

#include <optional>
#include <utility>

#include "engine/check_file.h"
#include "engine/medium_read_back.h"
#include "engine/parity_files.h"
#include "engine/parity_volume.h"
#include "engine/set_on_disk.h"
#include "engine/split_files.h"
#include "engine/step_failure.h"
#include "engine/step_lock.h"
#include "engine/transfer_start.h"

namespace torvanik {
namespace {

using Failure = StepFailure;

StepOutcome EndSplit(Transfer& t, Reports& reports, NoticeId done, const Why& letGo) {
    t.pending = false;
    t.diskNumber = 1;
    t.source = File();
    t.freeKB = 0;
    reports.Notice(done, kNoNumber, letGo);
    t.armed = TransferKind::kNone;
    reports.Reset(ScreenReset::kNoticeOnly);
    return {StepResult::kFinished, letGo};
}

// The phases of a parity disk, in order: prepare, begin the check file, measure the room,
// compute the volume, write the files, read them back, commit. The volume goes where a data
// disk's chunk goes and the index where INFO.FIL goes, so that they are placed, found and
// taken back as those are.
class ParityStep {
  public:
    ParityStep(Transfer& t, const EngineSeams& seams, Reports& reports)
        : t_(t),
          seams_(seams),
          reports_(reports),
          files_(seams.files),
          parityDisk_(t.parity.nextParityDisk) {}

    StepOutcome Run() {
        reports_.Notice(NoticeId::kExamining);
        drive_ = DiskForStep(seams_, t_.diskNumber, DiskUse::Write);
        std::optional<Failure> failure = Prepare();
        if (!failure) {
            reports_.Checkpoint();
            begun_ = true;
            failure = BeginCheckFile();
        }
        for (auto phase : {&ParityStep::MeasureRoom, &ParityStep::Compute, &ParityStep::Write,
                           &ParityStep::Check}) {
            if (!failure) {
                failure = (this->*phase)();
            }
        }
        if (!failure && StopRequested(seams_)) {
            failure = AskAgain(parityDisk_, {Reason::kInterrupted, 0, {}});
        }
        if (!failure) {
            failure = Commit();
        }
        return failure ? Fail(*failure) : Done();
    }

  private:
    std::optional<Failure> Prepare() {
        if (SourceChanged(t_, files_)) {
            return Failure{StepResult::kRefused, {Reason::kSourceChanged, 0, {}}};
        }
        lock_.emplace(files_, drive_.folder);
        if (!lock_->held()) {
            const Why why = drive_.folder.empty() ? NoDiskWhy(drive_) : lock_->why();
            if (why.reason == Reason::kInUse) {
                return AskAgain(parityDisk_, why);
            }
            t_.freeKB = 0;
            return Full(why);
        }
        folder_ = ValueOrNone(files_.Identify(drive_.folder, Links::Follow));
        RemoveLeftovers(files_, drive_.folder);
        names_ = ParityNamesOn(seams_, drive_, t_.fileName, parityDisk_, t_.parity.dataDisks);
        return std::nullopt;
    }

    std::optional<Failure> BeginCheckFile() {
        const auto begun = BeginFileWith(files_, CheckFilePathOn(seams_, drive_, t_.setIdentity),
                                         ParityCheckText(names_, {}, {}), written_.checkFile,
                                         Reason::kCheckFileWrite);
        if (begun) {
            return std::nullopt;
        }
        const Why& why = begun.why();
        return why.reason == Reason::kDiskFull ? Full(why) : AskAgain(parityDisk_, why);
    }

    // Both .par2 files must fit beside the check file: their lengths are known before a
    // byte of them is computed.
    std::optional<Failure> MeasureRoom() {
        const auto free = files_.FreeBytes(drive_);
        t_.freeKB = free ? static_cast<std::int64_t>(*free / 1024) : 0;
        if (!free) {
            return Full(WhyOfFailure(free.why(), Reason::kParityWrite));
        }
        reports_.DiskProgress(t_.diskNumber, true);
        const ParitySizes sizes = ParitySizesOf(t_, names_);
        const std::uint64_t needed = sizes.OnDisk(drive_.clusterBytes);
        if (*free < needed || files_.LargestFile(drive_.folder) < sizes.volume) {
            return Full(DiskWhy(Reason::kNoRoomForSlice, static_cast<int>((needed + 1023) / 1024)));
        }
        return std::nullopt;
    }

    std::optional<Failure> Compute() {
        reports_.Notice(NoticeId::kCopyingToParity, parityDisk_);
        Result<ComputedVolume> computed =
            ComputeVolume(seams_, reports_, SourceOfVolume(t_, names_),
                          static_cast<std::uint32_t>(parityDisk_ - 1));
        if (!computed) {
            const Why& why = computed.why();
            if (why.reason == Reason::kSourceShorter) {
                return Failure{StepResult::kRefused, why};
            }
            return AskAgain(parityDisk_, why);
        }
        volume_ = std::move(*computed);
        volume_.layout.facts = SetFactsOf(t_);
        if (SourceChanged(t_, files_)) {
            return Failure{StepResult::kRefused, {Reason::kSourceChanged, 0, {}}};
        }
        return std::nullopt;
    }

    std::optional<Failure> Write() {
        const std::string packets = CriticalPacketsOf(volume_.layout);
        Result<void> written =
            BeginFile(files_, names_.volumePath, written_.chunk, Reason::kParityWrite);
        if (written) {
            written =
                WriteRecoveryPacket(seams_, reports_, volume_, written_.chunk.file, volumeDigest_);
        }
        if (written) {
            volumeDigest_.Update(packets.data(), packets.size());
            written = files_.Write(packets.data(), packets.size(), written_.chunk.file);
        }
        if (written) {
            written = BeginFileWith(files_, names_.indexPath, packets, written_.info,
                                    Reason::kParityWrite);
        }
        if (written) {
            indexText_ = packets;
            volumeLength_ = static_cast<std::int64_t>(volume_.header.size() +
                                                      volume_.layout.sliceSize + packets.size());
            checkFileText_ = ParityCheckText(names_, DigestOf(packets.data(), packets.size()),
                                             volumeDigest_.Value());
            written = RewriteCheckFile();
        }
        if (written) {
            // Parity files whose times could not be set are still whole.
            static_cast<void>(files_.WriteTimes(written_.chunk.temporaryPath, t_.fileTimes));
            static_cast<void>(files_.WriteTimes(written_.info.temporaryPath, t_.fileTimes));
            written = SealFiles(files_, written_.chunk, written_.checkFile, Reason::kParityWrite);
        }
        if (written) {
            written = SealFile(files_, written_.info, Reason::kParityWrite);
        }
        if (!written) {
            const Why why = WhyOfFailure(written.why(), Reason::kParityWrite);
            return why.reason == Reason::kDiskFull ? Full(why) : AskAgain(parityDisk_, why);
        }
        return std::nullopt;
    }

    Result<void> RewriteCheckFile() {
        Result<void> written = files_.Seek(written_.checkFile.file, 0);
        if (written) {
            written =
                files_.Write(checkFileText_.data(), checkFileText_.size(), written_.checkFile.file);
        }
        return Told(written, Reason::kCheckFileWrite);
    }

    // The volume read back from the medium, the index and the check file beside it.
    std::optional<Failure> Check() {
        std::future<Result<void>> indexRead =
            ReadBackAsideOnMedium(seams_, written_.info.temporaryPath, indexText_, kOnDisk);
        std::future<Result<void>> checkFileRead = ReadBackAsideOnMedium(
            seams_, written_.checkFile.temporaryPath, checkFileText_, kOnDisk);
        Result<void> checked = ReadBackOnMedium(seams_, reports_, written_.chunk.temporaryPath, 0,
                                                volumeLength_, volumeDigest_, kOnDisk);
        for (auto* aside : {&indexRead, &checkFileRead}) {
            const Result<void> read = aside->valid() ? aside->get() : Result<void>();
            if (checked) {
                checked = read;
            }
        }
        if (!checked) {
            return AskAgain(parityDisk_, checked.why());
        }
        return std::nullopt;
    }

    std::optional<Failure> Commit() {
        if (auto placed = PlaceSplitFiles(files_, drive_.folder, written_); !placed) {
            return AskAgain(parityDisk_, placed.why());
        }
        if (!StillOnDisk(files_, drive_.folder, folder_, written_)) {
            diskGone_ = true;
            return AskAgain(parityDisk_, {Reason::kDiskRemoved, 0, {}});
        }
        DropOlderFiles(files_, written_);
        const Result<std::string> taken = seams_.drives.Finish(drive_);
        if (!taken) {
            letGo_ = taken.why();
            return AskAgain(parityDisk_, letGo_);
        }
        letGo_ = {Reason::kNone, 0, *taken};
        return std::nullopt;
    }

    StepOutcome Fail(Failure failure) {
        if (StopRequested(seams_)) {
            failure.why = {Reason::kInterrupted, 0, {}};
        }
        Why why = failure.why;
        if (begun_) {
            const Result<void> undone =
                diskGone_ ? Result<void>() : TakeBackSplitFiles(files_, written_);
            reports_.Undone();
            if (!undone) {
                why = undone.why();
            }
        }
        if (failure.result == StepResult::kDiskFull) {
            reports_.Notice(NoticeId::kDiskFull, kNoNumber, why);
        } else {
            reports_.Notice(NoticeId::kInsertParityDisk, parityDisk_, why);
        }
        return {why.reason == Reason::kInterrupted ? StepResult::kStopped : failure.result, why};
    }

    StepOutcome Done() {
        if (parityDisk_ < t_.parity.disks) {
            t_.parity.nextParityDisk = parityDisk_ + 1;
            reports_.Notice(NoticeId::kInsertParityDisk, parityDisk_ + 1, letGo_);
            return {StepResult::kAdvanced, letGo_};
        }
        return EndSplit(t_, reports_, NoticeId::kSplitDoneSeveral, letGo_);
    }

    Transfer& t_;
    const EngineSeams& seams_;
    Reports& reports_;
    FileSystem& files_;
    const int parityDisk_;
    DiskInDrive drive_;
    Why letGo_;
    std::optional<StepLock> lock_;
    std::optional<FileIdentity> folder_;
    bool diskGone_ = false;
    bool begun_ = false;
    ParityNames names_;
    SplitFiles written_;
    ComputedVolume volume_;
    ByteDigest volumeDigest_;
    std::string indexText_;
    std::int64_t volumeLength_ = 0;
    std::string checkFileText_;
};

}  // namespace

StepOutcome AfterLastDataDisk(Transfer& transfer, Reports& reports, NoticeId done,
                              const Why& letGo) {
    if (transfer.parity.disks == 0) {
        return EndSplit(transfer, reports, done, letGo);
    }
    transfer.pending = true;
    transfer.parity.nextParityDisk = 1;
    reports.Notice(NoticeId::kInsertParityDisk, 1, letGo);
    return {StepResult::kAdvanced, letGo};
}

StepOutcome WriteParityDisk(Transfer& transfer, const EngineSeams& seams, Reports& reports) {
    return ParityStep(transfer, seams, reports).Run();
}

}  // namespace torvanik
