#include "screen/notice_box.h"

#include <string>

#include "screen/font_selection.h"
#include "screen/frame.h"
#include "screen/frame_rects.h"
#include "screen/notice_lines.h"
#include "screen/screen_colours.h"
#include "screen/screen_fonts.h"

namespace torvanik {

std::vector<NoticeLine> NoticeLinesOf(const Notice& notice) {
    std::vector<NoticeLine> lines;
    int line = notice.firstLine;
    int linesLeft = notice.lineCount;
    if (notice.number >= 0) {
        const TextLine& first = NoticeLines[static_cast<std::size_t>(line)];
        lines.push_back(
            {std::string(first.text) + "  " + std::to_string(notice.number), first.x, first.y});
        ++line;
        --linesLeft;
    }
    for (; linesLeft > 0; --linesLeft, ++line) {
        const TextLine& next = NoticeLines[static_cast<std::size_t>(line)];
        lines.push_back({std::string(next.text), next.x, next.y});
    }
    return lines;
}

void ShowNotice(Canvas& canvas, ScreenRecord& record, const Notice& notice) {
    const DrawingOperation operation(canvas);
    record.lastNotice = notice;
    const int box = notice.box;
    const PreviousFont previous =
        SelectFont(canvas, kBoxFont.height, kBoxFont.weight, kBoxFont.face);
    // The back plate, then the front box over it; their white fill wipes the last notice.
    for (int frame = box; frame <= box + 1; ++frame) {
        const FrameRect& rect = FrameRects[static_cast<std::size_t>(frame)];
        DrawFrame(canvas, rect.border, frame, rect.colour);
    }
    canvas.SetTextColor(kNoticeText);
    for (const NoticeLine& line : NoticeLinesOf(notice)) {
        canvas.TextOut(line.x, line.y, line.text);
    }
    RestoreFont(canvas, previous);
    record.noticeShown = true;
    record.noticeToggle = NoticeToggle::kShown;
}

}  // namespace torvanik
