#pragma once

#include <string>

#include "engine/reasons.h"
#include "engine/transfer_record.h"
#include "platform/durable_file.h"

namespace torvanik {

// The records of transfers that can be continued, one file each in the state folder (a
// folder of the user's own, mode 0700), named for the kind of transfer and its file. A
// record is read as untrusted input: anything but a small regular file of the user's own
// is set aside, neither read nor removed.
class RecordStore {
  public:
    explicit RecordStore(std::string folder) : folder_(std::move(folder)) {}

    enum class Found { kNone, kRecord, kDamaged, kSetAside };
    struct Lookup {
        Found found = Found::kNone;
        TransferRecord record;
        Why why;  // why the record was set aside
    };

    // The record of a transfer of `path`; a record that names another file is damaged.
    Lookup Load(TransferKind kind, const std::string& path) const;
    // Written whole or not at all, even across a power cut, which may leave the record of
    // the disk before; false when it failed.
    bool Save(const TransferRecord& record) const;
    // `record` written beside its file but not yet in place: staged before a disk's flush,
    // it rides on that flush, and placing it after the disk is committed costs little.
    StagedFile Stage(const TransferRecord& record) const;
    // Removes the record when it is a regular file of the user's own.
    void Remove(TransferKind kind, const std::string& path) const;

  private:
    std::string FileFor(TransferKind kind, const std::string& path) const;
    static std::string NameFor(TransferKind kind, const std::string& path);

    std::string folder_;
};

}  // namespace torvanik
