#include <benchmark/benchmark.h>

#include "canvas/canvas.h"
#include "screen/notice_box.h"
#include "screen/progress_panel.h"
#include "screen/screen_painter.h"

namespace torvanik {
namespace {

// A split halfway through the chunk of disk 2, as the copy leaves the screen's record.
ScreenRecord CopyingRecord() {
    ScreenRecord record;
    record.facts = {TransferKind::kSplit, true, "/tmp/torvanik/bilde.bmp", "A:", 2500000, 976};
    record.panelShown = true;
    record.barsShown = true;
    record.noticeShown = true;
    record.panelDiskNumber = 2;
    record.panelShowsFree = true;
    record.barLength = {220, 264};
    record.lastDiskBar = 220;
    record.lastTotalBar = 264;
    record.lastNotice = NoticeOf(NoticeId::kCopyingTo, 2);
    return record;
}

void BM_DrawScreenCopying(benchmark::State& state) {
    ScreenRecord record = CopyingRecord();
    Surface surface(500, 312);
    Canvas canvas(surface);
    for (auto _ : state) {
        DrawScreen(canvas, record);
        benchmark::DoNotOptimize(surface.pixels.data());
    }
}
BENCHMARK(BM_DrawScreenCopying)->Unit(benchmark::kMicrosecond);

// What the copy loop draws each time the per-disk bar grows by a pixel, on the KLAR
// command's canvas.
void BM_DiskBarRedraw(benchmark::State& state) {
    ScreenRecord record = CopyingRecord();
    Surface surface(500, 312);
    Canvas canvas(surface);
    const Notice notice = record.lastNotice;
    for (auto _ : state) {
        ShowNotice(canvas, record, notice);
        DrawProgressPanel(canvas, record, record.panelShowsFree, 1);
        DrawBar(canvas, record, 221, 0);
        DrawBar(canvas, record, record.lastTotalBar, 1);
        benchmark::DoNotOptimize(surface.pixels.data());
    }
}
BENCHMARK(BM_DiskBarRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace torvanik

BENCHMARK_MAIN();
