#include "engine/record_store.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/byte_digest.h"

namespace torvanik {
namespace {

// A record is a few hundred bytes; anything much larger is not one.
constexpr std::streamsize kLongestRecord = 16384;

}  // namespace

std::string RecordStore::FileFor(TransferKind kind, const std::string& path) const {
    char name[32];
    std::snprintf(name, sizeof name, "%s-%016llx", kind == TransferKind::kJoin ? "inn" : "ut",
                  static_cast<unsigned long long>(DigestOf(path.data(), path.size()).low));
    return folder_ + "/" + name;
}

RecordStore::Lookup RecordStore::Load(TransferKind kind, const std::string& path) const {
    std::ifstream in(FileFor(kind, path), std::ios::binary);
    if (!in) {
        return {};
    }
    std::string text(kLongestRecord, '\0');
    in.read(text.data(), kLongestRecord);
    text.resize(static_cast<std::size_t>(in.gcount()));
    const auto record = ParseRecord(text);
    if (!record || record->kind != kind || record->path != path) {
        return {Found::kDamaged, {}};
    }
    return {Found::kRecord, *record};
}

bool RecordStore::Save(const TransferRecord& record) const {
    return ReplaceFileWhole(FileFor(record.kind, record.path), FormatRecord(record));
}

StagedFile RecordStore::Stage(const TransferRecord& record) const {
    return StagedFile::Write(FileFor(record.kind, record.path), FormatRecord(record));
}

void RecordStore::Remove(TransferKind kind, const std::string& path) const {
    unlink(FileFor(kind, path).c_str());
}

}  // namespace torvanik
