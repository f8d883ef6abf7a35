#include "screen/notice_box.h"

#include "engine/transfer_state.h"

namespace torvanik {

void ShowNotice(Canvas& canvas, int box, int firstLine, int lineCount, int number) {
    transferState.lastNotice = {box, firstLine, lineCount, number};
    transferState.viewState |= VS_NOTICE;
    transferState.noticeToggle = 1;
    canvas.Present();
}

}  // namespace torvanik
