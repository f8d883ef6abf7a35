#include "engine/parity_disk_read.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "engine/join_parity.h"
#include "engine/parity_disk.h"
#include "engine/set_on_disk.h"
#include "engine/step_lock.h"

namespace torvanik {
namespace {

class ParityRead {
  public:
    ParityRead(Transfer& t, const EngineSeams& seams, Reports& reports)
        : t_(t), seams_(seams), reports_(reports), number_(t.joinParity.parityAsked) {}

    StepOutcome Run() {
        drive_ = DiskForStep(seams_, ParityDiskInDrive(t_), DiskUse::Read);
        if (const Result<void> read = Read(); !read) {
            const Why why = StopRequested(seams_) ? Why{Reason::kInterrupted, 0, {}} : read.why();
            if (why.reason == Reason::kNotParityDisk && TakeBackSkip(t_)) {
                reports_.Notice(NoticeId::kInsertDiskAgain, t_.diskNumber, why);
                return {StepResult::kSameDisk, why};
            }
            reports_.Notice(NoticeId::kInsertParityDisk, number_, why);
            return {
                why.reason == Reason::kInterrupted ? StepResult::kStopped : StepResult::kSameDisk,
                why};
        }
        return Done();
    }

  private:
    Result<void> Read() {
        if (!t_.destination) {
            return Why{Reason::kDestinationWrite, 0, {}};
        }
        const StepLock lock(seams_.files, drive_.folder);
        if (!lock.held()) {
            return drive_.folder.empty() ? NoDiskWhy(drive_) : lock.why();
        }
        const auto found = FindParityFiles(seams_.files, drive_);
        if (!found) {
            return found.why();
        }
        if (found->volume.empty()) {
            return Why{Reason::kParityDiskDamaged, 0, {}};
        }
        reports_.Notice(NoticeId::kCopyingFromParity, number_);
        ByteDigest digest;
        const std::string& kept = t_.joinParity.sliceFolder;
        const std::string folder =
            kept.empty() ? std::filesystem::path(t_.destinationPath).parent_path().string() : kept;
        auto volume = ReadParityVolume(seams_, found->volume, folder, digest);
        if (!volume) {
            return volume.why();
        }
        if (auto fits = LayoutFitsJoin(volume->layout, t_, seams_, drive_); !fits) {
            return fits;
        }
        if (auto listed = MatchParityCheckFile(seams_, drive_, volume->layout.facts.identity,
                                               *found, digest.Value());
            !listed) {
            return listed;
        }
        const auto& slices = t_.joinParity.slices;
        if (std::any_of(slices.begin(), slices.end(), [&](const RecoverySlice& slice) {
                return slice.exponent == volume->slice.exponent;
            })) {
            return Why{Reason::kParityAlreadyRead, 0, {}};
        }
        volume_ = std::move(*volume);
        const Result<std::string> finished = seams_.drives.Finish(drive_);
        if (!finished) {
            return finished.why();
        }
        letGo_ = {Reason::kNone, 0, *finished};
        return {};
    }

    // The slice kept; the set's facts taken from the first parity disk.
    StepOutcome Done() {
        JoinParity& p = t_.joinParity;
        if (!p.layout) {
            p.layout = volume_->layout;
            t_.setIdentity = volume_->layout.facts.identity;
        }
        p.slices.push_back(std::move(volume_->slice));
        p.parityAsked = 0;
        if (const auto made = MakeHoles(t_, seams_); !made) {
            return EndAtFirstHole(t_, seams_, reports_, made.why());
        }
        return GoOnAfterDisk(t_, seams_, reports_, letGo_);
    }

    Transfer& t_;
    const EngineSeams& seams_;
    Reports& reports_;
    const int number_;
    DiskInDrive drive_;
    std::optional<ParityVolume> volume_;
    Why letGo_;
};

}  // namespace

StepOutcome ReadParityDisk(Transfer& transfer, const EngineSeams& seams, Reports& reports) {
    return ParityRead(transfer, seams, reports).Run();
}

}  // namespace torvanik
