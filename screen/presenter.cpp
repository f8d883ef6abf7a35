#include "screen/presenter.h"

#include "screen/help_box.h"
#include "screen/notice_box.h"
#include "screen/progress_panel.h"
#include "screen/screen_painter.h"

namespace torvanik {

Presenter::Presenter(CanvasSource canvases) : canvases_(std::move(canvases)) {}

Presenter::Command::Command(Presenter& presenter) : presenter_(presenter) {
    presenter_.canvas_.emplace(presenter_.canvases_.surface, presenter_.canvases_.present);
}

Presenter::Command::~Command() {
    presenter_.canvas_.reset();
}

Canvas& Presenter::CommandCanvas() {
    if (!canvas_) {
        canvas_.emplace(canvases_.surface, canvases_.present);
    }
    return *canvas_;
}

void Presenter::Paint(Canvas& canvas) {
    DrawScreen(canvas, record_);
}

void Presenter::ShowHelp() {
    DrawHelpBox(CommandCanvas());
    record_.helpShown = true;
}

void Presenter::Click(int x, int y) {
    if (record_.helpShown) {
        record_.helpShown = false;
        DrawScreen(CommandCanvas(), record_);
        return;
    }
    // Strictly inside the notice box, on all four sides.
    const bool inNoticeBox = y > 85 && y < 170 && x > 95 && x < 415;
    if (!inNoticeBox || record_.noticeToggle == NoticeToggle::kNone) {
        return;
    }
    const bool show = record_.noticeToggle == NoticeToggle::kHidden;
    record_.noticeToggle = show ? NoticeToggle::kShown : NoticeToggle::kHidden;
    record_.noticeShown = show;
    DrawScreen(CommandCanvas(), record_);
}

void Presenter::FactsChanged(const TransferFacts& facts) {
    record_.facts = facts;
}

void Presenter::ScreenReset(torvanik::ScreenReset reset) {
    record_.helpShown = false;
    record_.panelShown = false;
    record_.barsShown = false;
    record_.noticeShown = reset == ScreenReset::kNoticeOnly;
}

void Presenter::ScreenDrawn() {
    DrawScreen(CommandCanvas(), record_);
}

void Presenter::NoticeShown(NoticeId id, int number) {
    ShowNotice(CommandCanvas(), record_, NoticeOf(id, number));
}

void Presenter::DiskStepBegun(int disk) {
    record_.helpShown = false;
    record_.panelDiskNumber = disk;
    record_.lastDiskBar = 0;
}

void Presenter::DiskProgressShown(int disk, bool showFree) {
    Canvas& canvas = CommandCanvas();
    DrawProgressPanel(canvas, record_, showFree, 0);
    if (disk > 1) {
        DrawBar(canvas, record_, 0, 0);
        DrawBar(canvas, record_, record_.lastTotalBar, 1);
    }
}

void Presenter::BarsKept() {
    record_.barsShown = true;
}

void Presenter::TotalRestarted() {
    record_.lastTotalBar = 0;
}

void Presenter::StepCheckpoint() {
    checkpoint_ = {record_.lastTotalBar, record_.barLength, record_.barsShown};
}

void Presenter::StepUndone() {
    record_.lastDiskBar = 0;
    record_.lastTotalBar = checkpoint_.lastTotalBar;
    record_.barLength = checkpoint_.barLength;
    record_.barsShown = checkpoint_.shown;
}

// A bar is drawn anew where it grows by a pixel: the disk bar with the notice and the panel
// around it, the total bar alone; the whole redraw reaches the screen at once.
void Presenter::ChunkCopied(const ChunkProgress& progress) {
    const int diskBar = ProgressStep(progress.doneInChunk, progress.chunkSize);
    const int totalBar = ProgressStep(progress.done, progress.total);
    if (diskBar <= record_.lastDiskBar && totalBar <= record_.lastTotalBar) {
        return;
    }
    Canvas& canvas = CommandCanvas();
    const DrawingOperation redraw(canvas);
    if (diskBar > record_.lastDiskBar) {
        const Notice notice = record_.lastNotice;
        ShowNotice(canvas, record_, notice);
        DrawProgressPanel(canvas, record_, record_.panelShowsFree, 1);
        DrawBar(canvas, record_, diskBar, 0);
        DrawBar(canvas, record_, record_.lastTotalBar, 1);
        record_.lastDiskBar = diskBar;
    }
    if (totalBar > record_.lastTotalBar) {
        DrawBar(canvas, record_, totalBar, 1);
        record_.lastTotalBar = totalBar;
    }
}

}  // namespace torvanik
