#include "engine/resume.h"

#include "engine/transfer_start.h"

namespace torvanik {

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
    if (found.found == RecordStore::Found::kDamaged) {
        seams.records->Remove(kind, path);
    }
    return std::nullopt;
}

Why ResumeSplit(Transfer& t, const TransferRecord& record) {
    if (!t.sourceStamp || !(*t.sourceStamp == record.file) || record.setName != t.fileName ||
        record.total != t.sourceSize) {
        return {Reason::kSourceChanged, 0, {}};
    }
    t.bytesWritten = record.done;
    t.setIdentity = record.setIdentity;
    t.diskNumber = record.nextDisk;
    t.pending = true;
    return {};
}

Why ResumeJoin(Transfer& t, const EngineSeams& seams, const TransferRecord& record) {
    if (record.setName != t.joinName || record.total != t.joinTotal) {
        return {Reason::kRecordOfOtherSet, 0, {}};
    }
    const OpenedFile opened = seams.files.OpenToContinue(t.destinationPath);
    Stream joined = Unbuffered(opened.stream);
    if (!joined) {
        return WhyNotOpened(opened, Reason::kRecordDestinationChanged,
                            Reason::kRecordDestinationChanged);
    }
    const auto stamp = seams.files.Stamp(joined.get());
    if (!stamp || !(*stamp == record.file) || stamp->identity.size != record.done) {
        return {Reason::kRecordDestinationChanged, 0, {}};
    }
    t.destination = std::move(joined);
    t.joinedStamp = stamp;
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
    const auto& stamp = join ? t.joinedStamp : t.sourceStamp;
    if (stamp) {
        record.file = *stamp;
    }
    return record;
}

}  // namespace torvanik
