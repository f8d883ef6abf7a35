#include "screen/screen_painter.h"

#include "engine/transfer_state.h"
#include "screen/notice_box.h"
#include "screen/progress_panel.h"

namespace torvanik {

void DrawHelpBox(Canvas& canvas) {
    canvas.Present();
}

void DrawScreen(Canvas& canvas) {
    const TransferState& s = transferState;
    if ((s.viewState & VS_HELP) != 0) {
        DrawHelpBox(canvas);
    }
    if ((s.viewState & VS_PANEL) != 0) {
        DrawProgressPanel(canvas, s.panelShowFree, 0);
    }
    if ((s.viewState & VS_BARS) != 0) {
        DrawBar(canvas, s.barLength[0], 0);
        DrawBar(canvas, s.barLength[1], 1);
    }
    if ((s.viewState & VS_NOTICE) != 0) {
        const Notice n = s.lastNotice;
        ShowNotice(canvas, n.box, n.firstLine, n.lineCount, n.number);
    }
    canvas.Present();
}

}  // namespace torvanik
