#pragma once

#include <cstdint>
#include <cstdio>

#include "engine/engine_seams.h"

namespace torvanik {

struct CopyOutcome {
    bool whole = true;         // every block was read and written
    bool outOfSpace = false;   // the medium refused more: full, over quota, or file too large
    bool inputFailed = false;  // a read failed, or a stop was requested
};

// A failed write, told apart by errno: the medium refusing more, or another fault.
CopyOutcome FailedWrite();

// Copies one chunk in blocks of CopyBlockSize through the one copy buffer of the program,
// drawing both bars whenever they grow by a pixel. `done` and `total` count the whole
// transfer; a join stops at `total` even when the chunk is longer.
CopyOutcome CopyChunk(Canvas& canvas, const EngineSeams& seams, std::FILE* in, std::FILE* out,
                      std::int64_t chunkSize, std::int64_t& done, std::int64_t total);

}  // namespace torvanik
