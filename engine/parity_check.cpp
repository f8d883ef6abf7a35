#include "engine/parity_check.h"

#include "engine/parity_disk.h"
#include "engine/set_on_disk.h"
#include "engine/step_lock.h"

namespace torvanik {

ParityCheck CheckParityDisk(Transfer& t, const EngineSeams& seams, int number) {
    const DiskInDrive drive = DiskForStep(seams, t.diskNumber - 1 + number, DiskUse::Read);
    const StepLock lock(seams.files, drive.folder);
    if (!lock.held()) {
        return {
            ParityVerdict::kUnreadable, drive.folder.empty() ? NoDiskWhy(drive) : lock.why(), {}};
    }
    const auto found = FindParityFiles(seams.files, drive);
    if (!found) {
        const bool unreadable = found.why().reason != Reason::kNotParityDisk;
        return {
            unreadable ? ParityVerdict::kUnreadable : ParityVerdict::kNotParity, found.why(), {}};
    }
    ByteDigest digest;
    auto volume = found->volume.empty()
                      ? Result<ParityVolume>(Why{Reason::kParityDiskDamaged, 0, {}})
                      : ReadParityVolume(seams, found->volume, {}, digest);
    if (!volume) {
        const Reason reason = volume.why().reason;
        const bool damaged =
            reason == Reason::kParityDiskDamaged || reason == Reason::kNotParityDisk;
        return {damaged ? ParityVerdict::kDamaged : ParityVerdict::kUnreadable, volume.why(), {}};
    }
    const ParityCheck result = [&]() -> ParityCheck {
        if (auto fits = LayoutFitsJoin(volume->layout, t, seams, drive); !fits) {
            return {ParityVerdict::kOtherSet, fits.why(), {}};
        }
        if (auto listed = MatchParityCheckFile(seams, drive, t.setIdentity, *found, digest.Value());
            !listed) {
            return {ParityVerdict::kDamaged, listed.why(), {}};
        }
        return {ParityVerdict::kGood, {}, std::move(volume->layout)};
    }();
    static_cast<void>(seams.drives.Finish(drive));
    return result;
}

}  // namespace torvanik
