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
    const auto file = ReadPrivateFile(folder_, NameFor(kind, path), kLongestRecord);
    if (!file) {
        return SetAside(file.why());
    }
    if (!*file) {
        return {};
    }
    const auto record = ParseRecord(**file);
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
    // A record that can't be staged is saved whole once the disk is done.
    if (!MakePrivateFolder(folder_)) {
        return {};
    }
    Result<StagedFile> staged =
        StagedFile::Write(FileFor(record.kind, record.path), FormatRecord(record));
    return staged ? std::move(*staged) : StagedFile();
}

void RecordStore::Remove(TransferKind kind, const std::string& path) const {
    RemovePrivateFile(folder_, NameFor(kind, path));
}

}  // namespace torvanik
