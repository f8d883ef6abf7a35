#pragma once

#include <string>

#include "engine/transfer_record.h"
#include "platform/durable_file.h"

namespace torvanik {

// The records of transfers that can be continued, one file each in the state folder,
// named for the kind of transfer and its file.
class RecordStore {
  public:
    explicit RecordStore(std::string folder) : folder_(std::move(folder)) {}

    enum class Found { kNone, kRecord, kDamaged };
    struct Lookup {
        Found found = Found::kNone;
        TransferRecord record;
    };

    // The record of a transfer of `path`; a record that names another file is damaged.
    Lookup Load(TransferKind kind, const std::string& path) const;
    // Written whole or not at all, even across a power cut, which may leave the record of
    // the disk before; false when it failed.
    bool Save(const TransferRecord& record) const;
    // `record` written beside its file but not yet in place: staged before a disk's flush,
    // it rides on that flush, and placing it after the disk is committed costs little.
    StagedFile Stage(const TransferRecord& record) const;
    void Remove(TransferKind kind, const std::string& path) const;

  private:
    std::string FileFor(TransferKind kind, const std::string& path) const;

    std::string folder_;
};

}  // namespace torvanik
