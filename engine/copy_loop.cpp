#include "engine/copy_loop.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>

#include "engine/stop_request.h"
#include "engine/transfer_state.h"
#include "screen/notice_box.h"
#include "screen/progress_panel.h"

namespace torvanik {
namespace {

// One buffer for the whole run, both directions: room for a run of blocks. Page-aligned,
// since the kernel copies to and from the page cache at half the speed from a buffer
// aligned otherwise than its pages.
alignas(4096) std::array<char, kCopyRunBytes> copyBuffer;

// Each finished stretch of the written file is sent on to the medium while the copy goes
// on, so that the flush before the disk change has little left to wait for.
constexpr std::int64_t kWriteBackStretch = 1 << 20;

constexpr double kPerPixel = 1.0 / 440;

int BarPixels(std::int64_t part, double scale) {
    return static_cast<int>(static_cast<double>(part) / scale + 0.5);
}

// Where the loop stands after a block, and the bar lengths there.
struct BlockEnd {
    std::int64_t sumInChunk;
    std::int64_t done;
    int diskBar;
    int totalBar;
};

}  // namespace

CopyOutcome FailedWrite() {
    return {false, errno == ENOSPC || errno == EDQUOT || errno == EFBIG};
}

CopyOutcome CopyChunk(Canvas& canvas, const EngineSeams& seams, std::FILE* in, std::FILE* out,
                      std::int64_t chunkSize, std::int64_t& done, std::int64_t total,
                      ByteDigest* digest) {
    TransferState& s = transferState;
    const double chunkScale = static_cast<double>(chunkSize) * kPerPixel;
    const double totalScale = static_cast<double>(total) * kPerPixel;
    std::int64_t block = CopyBlockSize;
    std::int64_t sumInChunk = 0;
    std::int64_t written = seams.files.Position(out).value_or(0);
    while (sumInChunk < chunkSize && done < total) {
        // The bars are reckoned after every block, but one read and one write move all the
        // blocks up to the first after which a bar grows, so that it is drawn exactly there.
        BlockEnd end{sumInChunk, done, 0, 0};
        do {
            block = std::min({block, total - end.done, chunkSize - end.sumInChunk});
            end.sumInChunk += block;
            end.done += block;
            end.diskBar = BarPixels(end.sumInChunk, chunkScale);
            end.totalBar = BarPixels(end.done, totalScale);
        } while (end.sumInChunk - sumInChunk < kCopyRunBytes && end.sumInChunk < chunkSize &&
                 end.done < total && end.diskBar <= s.lastDiskBar &&
                 end.totalBar <= s.lastTotalBar);

        const auto bytes = static_cast<std::size_t>(end.sumInChunk - sumInChunk);
        if (StopRequested() || !seams.files.Read(copyBuffer.data(), bytes, in)) {
            return {false, false, true};
        }
        if (!seams.files.Write(copyBuffer.data(), bytes, out)) {
            const CopyOutcome failed = FailedWrite();
            // A chunk may end where the medium refused more; what reached it counts then.
            const auto reached = seams.files.Position(out);
            if (digest != nullptr && reached) {
                digest->Update(copyBuffer.data(),
                               static_cast<std::size_t>(std::clamp<std::int64_t>(
                                   *reached - written, 0, static_cast<std::int64_t>(bytes))));
            }
            return failed;
        }
        if (digest != nullptr) {
            digest->Update(copyBuffer.data(), bytes);
        }
        const std::int64_t stretchStart = written / kWriteBackStretch * kWriteBackStretch;
        written += static_cast<std::int64_t>(bytes);
        const std::int64_t stretchEnd = written / kWriteBackStretch * kWriteBackStretch;
        if (stretchEnd > stretchStart) {
            seams.files.StartWriteBack(out, stretchStart, stretchEnd - stretchStart);
        }
        sumInChunk = end.sumInChunk;
        done = end.done;

        std::optional<DrawingOperation> redraw;  // the whole redraw reaches the screen at once
        if (end.diskBar > s.lastDiskBar || end.totalBar > s.lastTotalBar) {
            redraw.emplace(canvas);
        }
        if (end.diskBar > s.lastDiskBar) {
            const Notice n = s.lastNotice;
            ShowNotice(canvas, n.box, n.firstLine, n.lineCount, n.number);
            DrawProgressPanel(canvas, s.panelShowFree, 1);
            DrawBar(canvas, end.diskBar, 0);
            DrawBar(canvas, s.lastTotalBar, 1);
            s.lastDiskBar = end.diskBar;
            if (seams.observer != nullptr) {
                seams.observer->DiskBarRedrawn();
            }
        }
        if (end.totalBar > s.lastTotalBar) {
            DrawBar(canvas, end.totalBar, 1);
            s.lastTotalBar = end.totalBar;
            if (seams.observer != nullptr) {
                seams.observer->TotalBarRedrawn();
            }
        }
        redraw.reset();
        if (seams.observer != nullptr) {
            seams.observer->BlockCopied(sumInChunk, chunkSize, done, total);
        }
    }
    return {};
}

}  // namespace torvanik
