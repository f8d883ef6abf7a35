#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/byte_digest.h"
#include "platform/file_system.h"
#include "platform/result.h"

// Reading a file back from its medium after it was written and flushed, and comparing it
// with a digest of the bytes that were meant to be there.
namespace torvanik {

enum class ReadBackVerdict {
    kMatch,     // the medium gave back the bytes that were written
    kMismatch,  // it gave back other bytes
    kShort,     // it ended before the stretch did
    kStopped,   // the progress callback asked to stop
};

// Bytes of the stretch checked so far, and its length; false stops the check.
using ReadBackProgress = std::function<bool(std::int64_t checked, std::int64_t length)>;

// Reads `length` bytes at `offset` of the file at `path` from the medium, not from the
// page cache, and compares their digest with `expected`. The file must have been flushed
// (fsync) first. Reads bypass the cache (O_DIRECT) where the file system allows it;
// elsewhere the file's cached pages are dropped before they are read again. Fails, with the
// system's error number, when a read failed.
Result<ReadBackVerdict> ReadBackFromMedium(FileSystem& files, const std::string& path,
                                           std::int64_t offset, std::int64_t length,
                                           const Digest128& expected,
                                           const ReadBackProgress& progress);

}  // namespace torvanik
