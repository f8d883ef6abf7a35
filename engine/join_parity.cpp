#include "engine/join_parity.h"

#include <algorithm>

#include "engine/parity_disk.h"
#include "engine/rebuild_missing.h"
#include "engine/set_on_disk.h"
#include "engine/transfer_start.h"

namespace torvanik {
namespace {

// A join with holes can't be gone on with from a record: its record goes.
void ForgetRecord(const Transfer& t, const EngineSeams& seams) {
    if (seams.records != nullptr) {
        seams.records->Remove(TransferKind::kJoin, t.destinationPath);
    }
}

int ParityDisksOfSet(const Transfer& t) {
    const auto& layout = t.joinParity.layout;
    return layout ? static_cast<int>(layout->facts.parityDisks) : kMaxParityDisks;
}

// The next parity disk, or the end when the set has no more.
StepOutcome AskNextParityDisk(Transfer& t, const EngineSeams& seams, Reports& reports,
                              const Why& letGo) {
    JoinParity& p = t.joinParity;
    const int next = p.lastParityAsked + 1;
    if (next > ParityDisksOfSet(t)) {
        const int covered = p.layout ? ParityDisksOfSet(t) : static_cast<int>(p.slices.size());
        return EndAtFirstHole(
            t, seams, reports,
            NumbersWhy(Reason::kTooManyMissing, {static_cast<int>(p.skipped.size()), covered}));
    }
    p.parityAsked = next;
    p.lastParityAsked = next;
    reports.Notice(NoticeId::kInsertParityDisk, next, letGo);
    return {StepResult::kAdvanced, letGo};
}

}  // namespace

StepOutcome OnSkipDisk(Transfer& t, const EngineSeams& seams) {
    Reports reports(seams, t);
    if (t.armed != TransferKind::kJoin) {
        return {StepResult::kIdle, {}};
    }
    JoinParity& p = t.joinParity;
    StepOutcome outcome;
    if (p.parityAsked > 0) {
        outcome = AskNextParityDisk(t, seams, reports, {});
    } else {
        p.skipped.push_back(t.diskNumber);
        p.lastChunkTimes.reset();
        ++t.diskNumber;
        ForgetRecord(t, seams);
        if (const auto made = MakeHoles(t, seams); !made) {
            outcome = EndAtFirstHole(t, seams, reports, made.why());
        } else {
            outcome = GoOnAfterDisk(t, seams, reports, {});
        }
    }
    reports.Screen();
    return outcome;
}

namespace {

// Images looked at for parity disk 1 of a set whose disk 1 is lost: sets as large as a
// user carries on floppies.
constexpr int kMostImagesLookedAt = 999;

// The index of parity disk 1 in the drive in place of disk 1. A drive of floppy images
// has disk N in image N, so there parity disk 1 is the image after the last data disk:
// the images after the first are looked at until one is that parity disk.
Result<par2::SetLayout> ParityDiskOneOnDrive(const EngineSeams& seams, const DiskInDrive& drive) {
    Result<par2::SetLayout> found = ReadParityIndex(seams, drive);
    if (found || drive.kind != DriveKind::Images) {
        return found;
    }
    for (int image = 2; image <= kMostImagesLookedAt; ++image) {
        const DiskInDrive next = DiskForStep(seams, image, DiskUse::Read);
        if (next.folder.empty()) {
            break;
        }
        if (auto layout = ReadParityIndex(seams, next);
            layout && static_cast<int>(layout->files.size()) + 1 == image) {
            return layout;
        }
    }
    return found;
}

}  // namespace

JoinStart ReadInfoOrParity(Transfer& t, const EngineSeams& seams, Reports& reports) {
    t.joinParity = {};
    const DiskInDrive drive = DiskForStep(seams, 1, DiskUse::Read);
    const auto loaded = LoadInfoFile(t, seams, drive);
    if (loaded) {
        return JoinStart::kDiskOne;
    }
    if (auto layout = ParityDiskOneOnDrive(seams, drive);
        layout && TakeInfo(t, ParseInfoFile(layout->facts.infoFile), {}).ok()) {
        t.joinParity.layout = std::move(*layout);
        return JoinStart::kParityDisk;
    }
    reports.Notice(NoticeId::kInsertDiskAgain, 1, loaded.why());
    return JoinStart::kNone;
}

void StartFromParityDisk(Transfer& t, Reports& reports) {
    JoinParity& p = t.joinParity;
    // What the index said counts for nothing until the volume, checked, says it again.
    t.setIdentity = p.layout->facts.identity;
    p.indexDataDisks = static_cast<int>(p.layout->files.size());
    p.layout.reset();
    p.skipped = {1};
    t.diskNumber = 2;
    p.parityAsked = 1;
    p.lastParityAsked = 1;
    reports.Notice(NoticeId::kInsertParityDisk, 1);
}

bool AwaitsParityDisk(const Transfer& t) {
    return t.armed == TransferKind::kJoin && t.joinParity.parityAsked > 0;
}

bool MayTakeFromParity(const Transfer& t, const Why& why) {
    switch (why.reason) {
        case Reason::kDestinationWrite:
        case Reason::kDestinationFull:
        case Reason::kDestinationLength:
        case Reason::kDestinationChanged:
        case Reason::kDestinationGaveBackOtherData:
        case Reason::kDestinationNotReadBack:
        case Reason::kUndoFailed:
        case Reason::kInterrupted:
        case Reason::kInUse:
            return false;
        default:
            return t.joinParity.layout.has_value() || !t.setIdentity.empty();
    }
}

bool TakeBackSkip(Transfer& t) {
    JoinParity& p = t.joinParity;
    if (p.layout || !p.slices.empty() || p.skipped.size() != 1 || p.holes > 0 ||
        std::find(p.takenBack.begin(), p.takenBack.end(), p.skipped.front()) != p.takenBack.end()) {
        return false;
    }
    p.takenBack.push_back(p.skipped.front());
    t.diskNumber = p.skipped.front();
    p.skipped.clear();
    p.parityAsked = 0;
    p.lastParityAsked = 0;
    return true;
}

int ParityDiskInDrive(const Transfer& t) {
    const JoinParity& p = t.joinParity;
    std::int64_t dataDisks = 0;
    if (p.layout) {
        dataDisks = static_cast<std::int64_t>(p.layout->files.size());
    } else if (p.firstChunk > 0) {
        dataDisks = (t.joinTotal + p.firstChunk - 1) / p.firstChunk;
    } else {
        dataDisks = p.indexDataDisks;
    }
    return static_cast<int>(std::max<std::int64_t>(dataDisks, t.diskNumber - 1)) + p.parityAsked;
}

StepOutcome GoOnAfterDisk(Transfer& t, const EngineSeams& seams, Reports& reports,
                          const Why& letGo) {
    JoinParity& p = t.joinParity;
    t.pending = true;
    if (p.slices.size() < p.skipped.size()) {
        return AskNextParityDisk(t, seams, reports, letGo);
    }
    if (p.layout && t.diskNumber > static_cast<int>(p.layout->files.size())) {
        return FinishParityJoin(t, seams, reports, letGo);
    }
    reports.Notice(NoticeId::kInsertDiskAgain, t.diskNumber, letGo);
    return {StepResult::kAdvanced, letGo};
}

Result<void> MakeHoles(Transfer& t, const EngineSeams& seams) {
    JoinParity& p = t.joinParity;
    if (!p.layout) {
        return {};
    }
    for (; p.holes < static_cast<int>(p.skipped.size()); ++p.holes) {
        const int disk = p.skipped[static_cast<std::size_t>(p.holes)];
        const std::int64_t start = ChunkStart(*p.layout, disk);
        if (t.bytesJoined != start) {
            return Why{Reason::kDestinationLength, 0, {}};
        }
        const auto length =
            static_cast<std::int64_t>(p.layout->files[static_cast<std::size_t>(disk - 1)].length);
        if (const auto grown = seams.files.Truncate(t.destination, start + length); !grown) {
            return WhyOfFailure(grown.why(), Reason::kDestinationWrite);
        }
        t.bytesJoined = start + length;
    }
    t.joinedStamp = ValueOrNone(seams.files.Stamp(t.destination));
    return {};
}

StepOutcome EndAtFirstHole(Transfer& t, const EngineSeams& seams, Reports& reports,
                           const Why& why) {
    JoinParity& p = t.joinParity;
    std::int64_t cut = t.bytesJoined;
    if (p.layout && p.holes > 0) {
        cut = ChunkStart(*p.layout, p.skipped.front());
    }
    if (t.destination) {
        const bool cutBack = seams.files.Truncate(t.destination, cut).ok();
        static_cast<void>(seams.files.Close(std::move(t.destination)));
        if (!cutBack) {
            static_cast<void>(seams.files.Remove(t.destinationPath));
        }
    }
    ForgetRecord(t, seams);
    t.bytesJoined = cut;
    t.armed = TransferKind::kNone;
    t.pending = false;
    t.diskNumber = 1;
    p.slices.clear();
    p.parityAsked = 0;
    reports.Notice(NoticeId::kIdlePrompt, kNoNumber, why);
    return {StepResult::kRefused, why};
}

}  // namespace torvanik
