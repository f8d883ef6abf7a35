#include "engine/copy_loop.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>

#include "engine/stop_request.h"
#include "engine/write_behind.h"

namespace torvanik {
namespace {

// The buffer of one copy, both directions: room for a run of blocks. Page-aligned, since
// the kernel copies to and from the page cache at half the speed from a buffer aligned
// otherwise than its pages.
struct alignas(4096) CopyBuffer {
    std::array<char, kCopyRunBytes> bytes;
};

// Where the loop stands after a block, and the progress steps there.
struct BlockEnd {
    std::int64_t sumInChunk;
    std::int64_t done;
    int diskStep;
    int totalStep;
};

}  // namespace

CopyOutcome FailedWrite() {
    const int error = errno;
    return {false, error == ENOSPC || error == EDQUOT || error == EFBIG, false, false, error};
}

CopyOutcome CopyChunk(const EngineSeams& seams, Reports& reports, std::FILE* in, std::FILE* out,
                      std::int64_t chunkSize, std::int64_t& done, std::int64_t total,
                      ByteDigest* digest, double* mediumPace) {
    // Kept for the thread's next chunk: a fresh one costs a mapping and a fault a page.
    static thread_local const std::unique_ptr<CopyBuffer> buffer(new CopyBuffer);
    char* const bytesAt = buffer->bytes.data();
    std::int64_t block = CopyBlockSize;
    std::int64_t sumInChunk = 0;
    std::int64_t written = seams.files.Position(out).value_or(0);
    WriteBehind medium(seams.files, out, written, mediumPace != nullptr ? *mediumPace : 0);
    int lastDiskStep = 0;
    int lastTotalStep = total > 0 ? ProgressStep(done, total) : 0;
    while (sumInChunk < chunkSize && done < total) {
        // The steps are reckoned after every block, but one read and one write move all the
        // blocks up to the first after which a step is passed.
        BlockEnd end{sumInChunk, done, 0, 0};
        do {
            block = std::min({block, total - end.done, chunkSize - end.sumInChunk});
            end.sumInChunk += block;
            end.done += block;
            end.diskStep = ProgressStep(end.sumInChunk, chunkSize);
            end.totalStep = ProgressStep(end.done, total);
        } while (end.sumInChunk - sumInChunk < kCopyRunBytes && end.sumInChunk < chunkSize &&
                 end.done < total && end.diskStep <= lastDiskStep &&
                 end.totalStep <= lastTotalStep);

        const auto bytes = static_cast<std::size_t>(end.sumInChunk - sumInChunk);
        if (StopRequested()) {
            return {false, false, true, false, 0};
        }
        if (!seams.files.Read(bytesAt, bytes, in)) {
            const bool ended = std::feof(in) != 0;
            return {false, false, true, ended, ended ? 0 : errno};
        }
        if (!seams.files.Write(bytesAt, bytes, out)) {
            const CopyOutcome failed = FailedWrite();
            // A chunk may end where the medium refused more; what reached it counts then,
            // and the bars show it once it is on the medium.
            if (failed.outOfSpace) {
                medium.Flush(reports);
            }
            const auto reached = seams.files.Position(out);
            if (digest != nullptr && reached) {
                digest->Update(bytesAt,
                               static_cast<std::size_t>(std::clamp<std::int64_t>(
                                   *reached - written, 0, static_cast<std::int64_t>(bytes))));
            }
            return failed;
        }
        if (digest != nullptr) {
            digest->Update(bytesAt, bytes);
        }
        written += static_cast<std::int64_t>(bytes);
        sumInChunk = end.sumInChunk;
        done = end.done;
        lastDiskStep = std::max(lastDiskStep, end.diskStep);
        lastTotalStep = std::max(lastTotalStep, end.totalStep);
        if (!medium.Written(static_cast<std::int64_t>(bytes), {sumInChunk, chunkSize, done, total},
                            reports)) {
            return FailedWrite();
        }
    }
    if (!medium.Flush(reports)) {
        return FailedWrite();
    }
    if (const double pace = medium.Pace(); mediumPace != nullptr && pace > 0) {
        *mediumPace = pace;
    }
    return {};
}

}  // namespace torvanik
