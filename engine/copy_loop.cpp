#include "engine/copy_loop.h"

#include <algorithm>
#include <array>
#include <memory>

#include "engine/write_behind.h"

namespace torvanik {
namespace {

// The buffer of one copy, both directions: room for a run of blocks. Page-aligned, since
// the kernel copies to and from the page cache at half the speed from a buffer aligned
// otherwise than its pages.
struct alignas(4096) CopyBuffer {
    std::array<char, kCopyRunBytes> bytes;
};

// Where the copy stands: bytes of the chunk and of the whole transfer, and the bars' lengths.
struct Standing {
    std::int64_t inChunk;
    std::int64_t done;
    int diskStep;
    int totalStep;
};

// Hands the write of `bytes` from `at` to the medium's watch: the end of every block after
// which either bar grows, and the write's end. The chunk begins at `start` in its file.
Standing ReachEachBlock(WriteBehind& medium, Standing at, std::int64_t bytes, std::int64_t start,
                        std::int64_t chunkSize, std::int64_t total) {
    const std::int64_t end = at.inChunk + bytes;
    while (at.inChunk < end) {
        const std::int64_t block =
            std::min(static_cast<std::int64_t>(CopyBlockSize), end - at.inChunk);
        at.inChunk += block;
        at.done += block;
        const int diskStep = ProgressStep(at.inChunk, chunkSize);
        const int totalStep = ProgressStep(at.done, total);
        const bool grows = diskStep > at.diskStep || totalStep > at.totalStep;
        at.diskStep = std::max(at.diskStep, diskStep);
        at.totalStep = std::max(at.totalStep, totalStep);
        if (grows || at.inChunk == end) {
            medium.Reach(start + at.inChunk, {at.inChunk, chunkSize, at.done, total}, grows);
        }
    }
    return at;
}

}  // namespace

Result<void> CopyChunk(const EngineSeams& seams, Reports& reports, File& in, File& out,
                       std::int64_t chunkSize, std::int64_t& done, std::int64_t total,
                       const InputReasons& from, ByteDigest* digest, double* mediumPace) {
    // Kept for the thread's next chunk: a fresh one costs a mapping and a fault a page.
    static thread_local const std::unique_ptr<CopyBuffer> buffer(new CopyBuffer);
    char* const bytesAt = buffer->bytes.data();
    const auto position = seams.files.Position(out);
    const std::int64_t start = position ? *position : 0;
    WriteBehind medium(seams.files, out, start, mediumPace != nullptr ? *mediumPace : 0);
    Standing at{0, done, 0, total > 0 ? ProgressStep(done, total) : 0};
    while (at.inChunk < chunkSize && at.done < total) {
        const auto bytes =
            static_cast<std::size_t>(std::min({medium.NextWrite(CopyBlockSize, kCopyRunBytes),
                                               chunkSize - at.inChunk, total - at.done}));
        if (StopRequested(seams)) {
            return Why{from.unreadable, 0, {}};
        }
        const auto read = seams.files.Read(bytesAt, bytes, in);
        if (!read) {
            return WhyFromError(read.why().error, from.unreadable);
        }
        if (*read < bytes) {
            return Why{from.shorter, 0, {}};
        }
        if (auto written = seams.files.Write(bytesAt, bytes, out); !written) {
            // A chunk may end where the medium refused more; what reached it counts then,
            // and the bars show it once it is on the medium. A medium that does not take it
            // fails the chunk's flush after.
            if (IsOutOfSpace(written.why())) {
                static_cast<void>(medium.Flush(reports));
            }
            const auto reached = seams.files.Position(out);
            if (digest != nullptr && reached) {
                digest->Update(bytesAt, static_cast<std::size_t>(std::clamp<std::int64_t>(
                                            *reached - start - at.inChunk, 0,
                                            static_cast<std::int64_t>(bytes))));
            }
            return written;
        }
        if (digest != nullptr) {
            digest->Update(bytesAt, bytes);
        }
        const auto size = static_cast<std::int64_t>(bytes);
        at = ReachEachBlock(medium, at, size, start, chunkSize, total);
        done = at.done;
        if (auto taken = medium.Written(size, reports); !taken) {
            return taken;
        }
    }
    if (auto flushed = medium.Flush(reports); !flushed) {
        return flushed;
    }
    if (const double pace = medium.Pace(); mediumPace != nullptr && pace > 0) {
        *mediumPace = pace;
    }
    return {};
}

}  // namespace torvanik
