#include <benchmark/benchmark.h>

#include "engine/transfer_state.h"
#include "platform/canvas.h"
#include "screen/notice_box.h"
#include "screen/progress_panel.h"
#include "screen/screen_painter.h"

namespace torvanik {
namespace {

// A split halfway through the chunk of disk 2, as the copy loop leaves the record.
void SetCopyingState() {
    transferState = TransferState{};
    transferState.viewState = VS_SPLIT | VS_PANEL | VS_BARS | VS_NOTICE;
    transferState.pathStripKind = 1;
    transferState.sourcePath = "/tmp/torvanik/bilde.bmp";
    transferState.sourceSize = 2500000;
    transferState.diskNumber = 2;
    transferState.panelDiskNumber = 2;
    transferState.freeKB = 976;
    transferState.panelShowFree = 1;
    transferState.barLength = {220, 264};
    transferState.lastDiskBar = 220;
    transferState.lastTotalBar = 264;
    transferState.lastNotice = {3, 8, 1, 2};
}

void BM_DrawScreenCopying(benchmark::State& state) {
    SetCopyingState();
    Surface surface(500, 312);
    Canvas canvas(surface);
    for (auto _ : state) {
        DrawScreen(canvas);
        benchmark::DoNotOptimize(surface.pixels.data());
    }
}
BENCHMARK(BM_DrawScreenCopying)->Unit(benchmark::kMicrosecond);

// What the copy loop draws each time the per-disk bar grows by a pixel, on the KLAR
// command's canvas.
void BM_DiskBarRedraw(benchmark::State& state) {
    SetCopyingState();
    Surface surface(500, 312);
    Canvas canvas(surface);
    const Notice notice = transferState.lastNotice;
    for (auto _ : state) {
        ShowNotice(canvas, notice.box, notice.firstLine, notice.lineCount, notice.number);
        DrawProgressPanel(canvas, transferState.panelShowFree, 1);
        DrawBar(canvas, 221, 0);
        DrawBar(canvas, transferState.lastTotalBar, 1);
        benchmark::DoNotOptimize(surface.pixels.data());
    }
}
BENCHMARK(BM_DiskBarRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace torvanik

BENCHMARK_MAIN();
