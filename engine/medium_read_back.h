#pragma once

#include <cstdint>
#include <future>
#include <string>
#include <string_view>

#include "engine/engine_seams.h"
#include "engine/reasons.h"
#include "engine/reports.h"
#include "platform/read_back.h"

namespace torvanik {

// Where the bytes read back were written: the reasons a failed read-back is told with.
struct ReadBackReasons {
    Reason otherData;   // a mismatch, or fewer bytes
    Reason unreadable;  // a read error
};
inline constexpr ReadBackReasons kOnDisk{Reason::kDiskGaveBackOtherData, Reason::kDiskNotReadBack};
inline constexpr ReadBackReasons kInDestination{Reason::kDestinationGaveBackOtherData,
                                                Reason::kDestinationNotReadBack};

// `digest` when the step's bytes will be read back or are listed in a check file, else
// none, so that a copy that is neither read back nor listed spends nothing on hashing.
ByteDigest* DigestIfChecked(const EngineSeams& seams, ByteDigest& digest, bool inCheckFile);

// Reads `length` bytes at `offset` of the file at `path` back from the medium against
// `expected`, the read-back's bar shown to `observer` (if any) and a stop request heeded.
Result<ReadBackVerdict> ReadBackShown(const EngineSeams& seams, TransferObserver* observer,
                                      const std::string& path, std::int64_t offset,
                                      std::int64_t length, const Digest128& expected);

// Reads `length` bytes at `offset` of the flushed file at `path` back from the medium and
// compares them with `digest`, the digest of the bytes the step meant to put there; why
// not, when they don't match. Nothing to read when the read-back is turned off.
Result<void> ReadBackOnMedium(const EngineSeams& seams, Reports& reports, const std::string& path,
                              std::int64_t offset, std::int64_t length, const ByteDigest& digest,
                              const ReadBackReasons& why);

// The same read-back of a small file's whole `bytes`, on a thread of its own and without
// reports, so that its wait on the medium overlaps the read-back of a larger file. Nothing
// to wait for when the read-back is turned off.
std::future<Result<void>> ReadBackAsideOnMedium(const EngineSeams& seams, const std::string& path,
                                                std::string_view bytes, const ReadBackReasons& why);

}  // namespace torvanik
