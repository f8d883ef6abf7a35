#include "engine/record_store.h"

#include <cstdio>

#include "platform/byte_digest.h"
#include "platform/private_file.h"

namespace torvanik {
namespace {

// A record is a few hundred bytes; anything much larger is not one.
constexpr std::size_t kLongestRecord = 16384;

RecordStore::Lookup SetAside(Why why) {
    return {RecordStore::Found::kSetAside, {}, std::move(why)};
}

}  // namespace

std::string RecordStore::NameFor(TransferKind kind, const std::string& path) {
    char name[32];
    std::snprintf(name, sizeof name, "%s-%016llx", kind == TransferKind::kJoin ? "inn" : "ut",
                  static_cast<unsigned long long>(DigestOf(path.data(), path.size()).low));
    return name;
}

std::string RecordStore::FileFor(TransferKind kind, const std::string& path) const {
    return folder_ + "/" + NameFor(kind, path);
}

RecordStore::Lookup RecordStore::Load(TransferKind kind, const std::string& path) const {
    const PrivateFile file = ReadPrivateFile(folder_, NameFor(kind, path), kLongestRecord);
    switch (file.result) {
        case PrivateFile::Result::kMissing:
            return {};
        case PrivateFile::Result::kFolderUnsafe:
            return SetAside({Reason::kStateFolderUnsafe, 0, {}});
        case PrivateFile::Result::kNotRegular:
            return SetAside({Reason::kRecordNotRegular, 0, {}});
        case PrivateFile::Result::kOtherOwner:
            return SetAside({Reason::kRecordOfOtherUser, 0, {}});
        case PrivateFile::Result::kTooLarge:
            return SetAside({Reason::kRecordTooLarge, 0, {}});
        case PrivateFile::Result::kFailed:
            return SetAside({Reason::kRecordDamaged, file.error, {}});
        case PrivateFile::Result::kRead:
            break;
    }
    const auto record = ParseRecord(file.bytes);
    if (!record || record->kind != kind || record->path != path) {
        return {Found::kDamaged, {}, {}};
    }
    return {Found::kRecord, *record, {}};
}

bool RecordStore::Save(const TransferRecord& record) const {
    return MakePrivateFolder(folder_) &&
           ReplaceFileWhole(FileFor(record.kind, record.path), FormatRecord(record));
}

StagedFile RecordStore::Stage(const TransferRecord& record) const {
    if (!MakePrivateFolder(folder_)) {
        return {};
    }
    return StagedFile::Write(FileFor(record.kind, record.path), FormatRecord(record));
}

void RecordStore::Remove(TransferKind kind, const std::string& path) const {
    RemovePrivateFile(folder_, NameFor(kind, path));
}

}  // namespace torvanik
