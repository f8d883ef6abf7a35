#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/engine_seams.h"
#include "engine/reasons.h"
#include "engine/reports.h"
#include "platform/read_back.h"

namespace torvanik {

inline constexpr std::size_t CopyBlockSize = 16384;

// Where the bytes copied come from: the reasons a failed read is told with.
struct InputReasons {
    Reason unreadable;  // a read failed, or a stop was requested
    Reason shorter;     // the input ended before the bytes it was said to hold
};
inline constexpr InputReasons kFromSource{Reason::kSourceRead, Reason::kSourceShorter};
inline constexpr InputReasons kFromChunk{Reason::kChunkRead, Reason::kChunkRead};

// The most one read and one write of the copy loop move: a run of whole blocks. Each run
// passes through the copy buffer twice, and a buffer that stays in the processor's cache
// costs half the kernel time of a megabyte one.
inline constexpr std::int64_t kCopyRunBytes = 16 * static_cast<std::int64_t>(CopyBlockSize);

// Copies one chunk in blocks of CopyBlockSize, read and written in runs as long as the
// medium's pace allows (one block on a floppy, kCopyRunBytes on a fast disk). Progress is
// reported once the medium holds it, at each block after which either bar grows by a pixel,
// so that each pixel is reported exactly there. `done` and `total` count the whole
// transfer; a join stops at `total` even when the chunk is longer. Every byte that reaches `out` is
// added to `digest`, when there is one. `mediumPace`, when given, is how fast the medium
// took the chunk before (0: not known), and becomes how fast it took this one.
// A failed read is told with `from`'s reasons; a failed write is left as the system told
// it, for the caller to tell: where the medium refused more, a chunk may end there.
Result<void> CopyChunk(const EngineSeams& seams, Reports& reports, File& in, File& out,
                       std::int64_t chunkSize, std::int64_t& done, std::int64_t total,
                       const InputReasons& from, ByteDigest* digest = nullptr,
                       double* mediumPace = nullptr);

}  // namespace torvanik
