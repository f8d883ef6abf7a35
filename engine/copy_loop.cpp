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

// One buffer for the whole run, both directions.
std::array<char, CopyBlockSize> copyBuffer;

constexpr double kPerPixel = 1.0 / 440;

int BarPixels(std::int64_t part, double scale) {
    return static_cast<int>(static_cast<double>(part) / scale + 0.5);
}

}  // namespace

CopyOutcome FailedWrite() {
    return {false, errno == ENOSPC || errno == EDQUOT || errno == EFBIG};
}

CopyOutcome CopyChunk(Canvas& canvas, const EngineSeams& seams, std::FILE* in, std::FILE* out,
                      std::int64_t chunkSize, std::int64_t& done, std::int64_t total) {
    TransferState& s = transferState;
    const double chunkScale = static_cast<double>(chunkSize) * kPerPixel;
    const double totalScale = static_cast<double>(total) * kPerPixel;
    std::int64_t block = CopyBlockSize;
    std::int64_t sumInChunk = 0;
    while (sumInChunk < chunkSize && done < total) {
        block = std::min({block, total - done, chunkSize - sumInChunk});
        const auto bytes = static_cast<std::size_t>(block);
        if (StopRequested() || !seams.files.Read(copyBuffer.data(), bytes, in)) {
            return {false, false, true};
        }
        if (!seams.files.Write(copyBuffer.data(), bytes, out)) {
            return FailedWrite();
        }
        sumInChunk += block;
        done += block;

        const int diskBar = BarPixels(sumInChunk, chunkScale);
        const int totalBar = BarPixels(done, totalScale);
        std::optional<DrawingOperation> redraw;  // the whole redraw reaches the screen at once
        if (diskBar > s.lastDiskBar || totalBar > s.lastTotalBar) {
            redraw.emplace(canvas);
        }
        if (diskBar > s.lastDiskBar) {
            const Notice n = s.lastNotice;
            ShowNotice(canvas, n.box, n.firstLine, n.lineCount, n.number);
            DrawProgressPanel(canvas, s.panelShowFree, 1);
            DrawBar(canvas, diskBar, 0);
            DrawBar(canvas, s.lastTotalBar, 1);
            s.lastDiskBar = diskBar;
            if (seams.observer != nullptr) {
                seams.observer->DiskBarRedrawn();
            }
        }
        if (totalBar > s.lastTotalBar) {
            DrawBar(canvas, totalBar, 1);
            s.lastTotalBar = totalBar;
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
