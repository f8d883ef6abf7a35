#pragma once

#include <cstdint>
#include <cstdio>

#include "engine/engine_seams.h"
#include "engine/transfer_state.h"
#include "platform/read_back.h"

namespace torvanik {

struct CopyOutcome {
    bool whole = true;         // every block was read and written
    bool outOfSpace = false;   // the medium refused more: full, over quota, or file too large
    bool inputFailed = false;  // a read failed, or a stop was requested
};

// A failed write, told apart by errno: the medium refusing more, or another fault.
CopyOutcome FailedWrite();

// The most one read and one write of the copy loop move: a run of whole blocks. Each run
// passes through the copy buffer twice, and a buffer that stays in the processor's cache
// costs half the kernel time of a megabyte one.
inline constexpr std::int64_t kCopyRunBytes = 16 * static_cast<std::int64_t>(CopyBlockSize);

// Copies one chunk in blocks of CopyBlockSize through the one copy buffer of the program,
// drawing both bars after the block at which they grow by a pixel. `done` and `total` count the
// whole transfer; a join stops at `total` even when the chunk is longer. Every byte that
// reaches `out` is added to `digest`, when there is one.
CopyOutcome CopyChunk(Canvas& canvas, const EngineSeams& seams, std::FILE* in, std::FILE* out,
                      std::int64_t chunkSize, std::int64_t& done, std::int64_t total,
                      ByteDigest* digest = nullptr);

}  // namespace torvanik
