#include "engine/engine_notice.h"

#include "screen/notice_box.h"

namespace torvanik {

void Tell(Canvas& canvas, const EngineSeams& seams, int firstLine, int lineCount, int number) {
    constexpr int kNoticeBox = 3;
    ShowNotice(canvas, kNoticeBox, firstLine, lineCount, number);
    if (seams.observer != nullptr) {
        seams.observer->NoticeShown({kNoticeBox, firstLine, lineCount, number});
    }
}

}  // namespace torvanik
