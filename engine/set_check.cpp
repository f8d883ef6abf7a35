#include "engine/set_check.h"

#include <algorithm>

#include "engine/check_file_entry.h"
#include "engine/medium_read_back.h"
#include "engine/reports.h"
#include "engine/set_on_disk.h"
#include "engine/step_lock.h"
#include "engine/transfer_start.h"
#include "platform/read_back.h"

namespace torvanik {
namespace {

DiskCheck Unreadable(Why why) {
    return {DiskVerdict::kUnreadable, std::move(why), false};
}

// The chunk read from the medium and compared with its line: good or damaged; why not,
// when it can't be read.
Result<DiskVerdict> ReadAgainstCheckFile(const EngineSeams& seams, const std::string& path,
                                         std::int64_t size, const Digest128& expected) {
    const Result<ReadBackVerdict> outcome =
        ReadBackShown(seams, seams.observer, path, 0, size, expected);
    // A read that failed, or a medium that gave back fewer bytes.
    const int error = outcome ? 0 : outcome.why().error;
    switch (outcome ? *outcome : ReadBackVerdict::kShort) {
        case ReadBackVerdict::kMatch:
            return DiskVerdict::kGood;
        case ReadBackVerdict::kMismatch:
            return DiskVerdict::kDamaged;
        case ReadBackVerdict::kShort:
            return StopRequested(seams) ? Why{Reason::kInterrupted, 0, {}}
                                        : WhyFromError(error, Reason::kChunkRead);
        case ReadBackVerdict::kStopped:
            break;
    }
    return Why{Reason::kInterrupted, 0, {}};
}

}  // namespace

bool BeginSetCheck(Transfer& t, const EngineSeams& seams) {
    Reports reports(seams, t);
    if (!ReadInfoFile(t, seams, reports)) {
        return false;
    }
    t.diskNumber = 1;
    t.bytesJoined = 0;
    t.setIdentity.clear();
    t.joinParity = {};
    reports.Notice(NoticeId::kKeepDiskOne);
    return true;
}

std::optional<DiskCheck> SkipDiskInCheck(Transfer& t) {
    const std::int64_t chunk = t.joinParity.firstChunk;
    if (chunk <= 0) {
        return std::nullopt;
    }
    t.bytesJoined += std::min(chunk, t.joinTotal - t.bytesJoined);
    ++t.diskNumber;
    return DiskCheck{DiskVerdict::kMissing, {}, t.bytesJoined >= t.joinTotal};
}

DiskCheck CheckNextDisk(Transfer& t, const EngineSeams& seams) {
    const int disk = t.diskNumber;
    const DiskInDrive drive = DiskForStep(seams, disk, DiskUse::Read);
    const StepLock lock(seams.files, drive.folder);
    if (!lock.held()) {
        return Unreadable(drive.folder.empty() ? NoDiskWhy(drive) : lock.why());
    }
    const CheckFileEntry entry = FindCheckFileEntry(t, seams, drive, disk);
    if (entry.why.reason == Reason::kInfoFileDamaged) {
        return {DiskVerdict::kInfoDamaged, {}, true};
    }
    if (entry.why.reason == Reason::kOtherSet) {
        return {DiskVerdict::kOtherSet, {}, false};
    }
    if (HasReason(entry.why) && !entry.damaged) {
        return Unreadable(entry.why);
    }
    const std::string path = ChunkPathOn(seams, drive, t.joinName, disk);
    const auto chunk = seams.files.Identify(path, Links::Refuse);
    if (!chunk) {
        return Unreadable(WhyOfFailure(chunk.why(), Reason::kChunkMissing));
    }
    if (chunk->size > t.joinTotal - t.bytesJoined) {
        return Unreadable(DiskWhy(Reason::kChunkTooLong, disk));
    }
    Why why;
    DiskVerdict verdict = DiskVerdict::kNoCheckFile;
    if (entry.damaged) {
        verdict = DiskVerdict::kDamaged;
        why = entry.why;
    } else if (entry.digest) {
        const auto read = ReadAgainstCheckFile(seams, path, chunk->size, *entry.digest);
        if (!read) {
            return Unreadable(read.why());
        }
        verdict = *read;
    }
    // The check only read the disk: a drive that could not finish with it is told of.
    const Result<std::string> letGo = seams.drives.Finish(drive);
    if (const std::string& said = letGo ? *letGo : letGo.why().text; !said.empty()) {
        Reports(seams, t).Reason({Reason::kNone, 0, said});
    }
    if (disk == 1) {
        t.joinParity.firstChunk = chunk->size;
    }
    t.bytesJoined += chunk->size;
    ++t.diskNumber;
    return {verdict, why, t.bytesJoined >= t.joinTotal};
}

}  // namespace torvanik
