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

void Explain(const EngineSeams& seams, const Why& why) {
    if (why && seams.observer != nullptr) {
        seams.observer->ReasonGiven(ReasonLine(why));
    }
}

void TellWhy(Canvas& canvas, const EngineSeams& seams, int firstLine, int lineCount, int number,
             const Why& why) {
    Tell(canvas, seams, firstLine, lineCount, number);
    Explain(seams, why);
}

}  // namespace torvanik
