#include "screen/progress_panel.h"

#include "engine/transfer_state.h"

namespace torvanik {

void DrawProgressPanel(Canvas& canvas, int showFree, int /*firstFrame*/) {
    transferState.panelShowFree = showFree;
    transferState.viewState |= VS_PANEL;
    canvas.Present();
}

void DrawBar(Canvas& canvas, int length, int which) {
    transferState.barLength[static_cast<std::size_t>(which)] = length;
    if (length <= 0) {
        return;
    }
    transferState.viewState |= VS_BARS;
    canvas.Present();
}

}  // namespace torvanik
