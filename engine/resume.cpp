#include "engine/resume.h"

#include <algorithm>
#include <vector>

#include "engine/check_file_entry.h"
#include "engine/set_on_disk.h"
#include "engine/transfer_start.h"

namespace torvanik {
namespace {

// The digest of `length` bytes of the file at `path` from `offset` on.
std::optional<Digest128> DigestOfStretch(FileSystem& files, const std::string& path,
                                         std::int64_t offset, std::int64_t length) {
    auto file = files.OpenRegular(path, Links::Follow, {});
    if (!file || !files.Seek(*file, offset)) {
        return std::nullopt;
    }
    ByteDigest digest;
    std::vector<char> block(1 << 16);
    for (std::int64_t left = length; left > 0;) {
        const auto size = static_cast<std::size_t>(
            std::min<std::int64_t>(left, static_cast<std::int64_t>(block.size())));
        if (const auto read = files.Read(block.data(), size, *file); !read || *read < size) {
            return std::nullopt;
        }
        digest.Update(block.data(), size);
        left -= static_cast<std::int64_t>(size);
    }
    return digest.Value();
}

// When the last disk the record counts is in the drive, its chunk must be the bytes of
// `path` (the source, or the joined file) that end where the record says: by its length,
// and by its check file's line where the set has check files.
Result<void> LastDiskAgrees(const EngineSeams& seams, const TransferRecord& record,
                            const std::string& path) {
    const int disk = record.nextDisk - 1;
    const DiskInDrive drive = DiskForStep(seams, disk, DiskUse::Read);
    if (drive.folder.empty()) {
        return {};
    }
    const auto chunk =
        seams.files.Identify(ChunkPathOn(seams, drive, record.setName, disk), Links::Refuse);
    if (!chunk) {
        return {};
    }
    const Why disagrees = DiskWhy(Reason::kRecordDisagreesWithDisk, disk);
    if (chunk->size > record.done) {
        return disagrees;
    }
    if (record.setIdentity.empty()) {
        return {};
    }
    const auto line = ChunkLineOn(seams, drive, record.setIdentity, record.setName, disk);
    if (!line || line->found != CheckFileLine::Found::kLine ||
        DigestOfStretch(seams.files, path, record.done - chunk->size, chunk->size) !=
            line->digest) {
        return disagrees;
    }
    return {};
}

}  // namespace

std::optional<TransferRecord> OfferToResume(const EngineSeams& seams, TransferKind kind,
                                            const std::string& path) {
    if (seams.records == nullptr) {
        return std::nullopt;
    }
    const RecordStore::Lookup found = seams.records->Load(kind, path);
    if (found.found == RecordStore::Found::kRecord &&
        seams.questions.ConfirmResume(found.record.nextDisk - 1)) {
        return found.record;
    }
    if (found.found == RecordStore::Found::kSetAside) {
        if (seams.observer != nullptr) {
            seams.observer->ReasonGiven(ReasonLine(found.why));
        }
    } else if (found.found == RecordStore::Found::kDamaged) {
        seams.records->Remove(kind, path);
    }
    return std::nullopt;
}

Result<void> ResumeSplit(Transfer& t, const EngineSeams& seams, const TransferRecord& record) {
    if (!t.sourceStamp || !(*t.sourceStamp == record.file) || record.setName != t.fileName ||
        record.total != t.sourceSize) {
        return Why{Reason::kSourceChanged, 0, {}};
    }
    if (auto agrees = LastDiskAgrees(seams, record, t.sourcePath); !agrees) {
        return agrees;
    }
    t.bytesWritten = record.done;
    t.setIdentity = record.setIdentity;
    t.parity = record.parity;
    t.diskNumber = record.nextDisk;
    t.pending = true;
    return {};
}

Result<void> ResumeJoin(Transfer& t, const EngineSeams& seams, const TransferRecord& record) {
    if (record.setName != t.joinName || record.total != t.joinTotal) {
        return Why{Reason::kRecordOfOtherSet, 0, {}};
    }
    auto joined = seams.files.OpenToContinue(
        t.destinationPath, {Reason::kRecordDestinationChanged, Reason::kRecordDestinationChanged});
    if (!joined) {
        return joined.why();
    }
    joined->Unbuffer();
    const auto stamp = seams.files.Stamp(*joined);
    if (!stamp || !(*stamp == record.file) || stamp->identity.size != record.done) {
        return Why{Reason::kRecordDestinationChanged, 0, {}};
    }
    if (auto agrees = LastDiskAgrees(seams, record, t.destinationPath); !agrees) {
        return agrees;
    }
    t.destination = std::move(*joined);
    t.joinedStamp = *stamp;
    t.bytesJoined = record.done;
    t.setIdentity = record.setIdentity;
    t.toldNoCheckFiles = record.setIdentity.empty();
    t.diskNumber = record.nextDisk;
    t.pending = true;
    return {};
}

void StageNextRecord(Transfer& t, const EngineSeams& seams) {
    t.staged.record = RecordOf(t);
    ++t.staged.record.nextDisk;
    t.staged.file = seams.records != nullptr && t.staged.record.done < t.staged.record.total
                        ? seams.records->Stage(t.staged.record)
                        : StagedFile{};
}

TransferRecord RecordOf(const Transfer& t) {
    const bool join = t.armed == TransferKind::kJoin;
    TransferRecord record;
    record.kind = t.armed;
    record.path = join ? t.destinationPath : t.sourcePath;
    record.setName = join ? t.joinName : t.fileName;
    record.setIdentity = t.setIdentity;
    record.total = join ? t.joinTotal : t.sourceSize;
    record.nextDisk = t.diskNumber;
    record.done = join ? t.bytesJoined : t.bytesWritten;
    if (!join) {
        record.parity = t.parity;
    }
    const auto& stamp = join ? t.joinedStamp : t.sourceStamp;
    if (stamp) {
        record.file = *stamp;
    }
    return record;
}

}  // namespace torvanik
