#include "screen/progress_panel.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "screen/bar_rows.h"
#include "screen/font_selection.h"
#include "screen/frame.h"
#include "screen/frame_rects.h"
#include "screen/panel_texts.h"
#include "screen/screen_colours.h"
#include "screen/screen_fonts.h"

namespace torvanik {
namespace {

template <typename Value>
std::string Formatted(const PanelText& text, Value value) {
    std::array<char, 64> line{};
    std::snprintf(line.data(), line.size(), text.format, value);
    return line.data();
}

// Whole kilobytes plus one: 1023 bytes show 1, 1024 bytes 2.
long FileLengthKB(std::int64_t size) {
    return static_cast<long>((size + 1024) / 1024);
}

}  // namespace

PanelLines PanelLinesOf(const ScreenRecord& record, bool showFree) {
    PanelLines lines{Formatted(PanelTexts.diskProgress, record.panelDiskNumber),
                     {},
                     PanelTexts.totalProgress.format,
                     Formatted(PanelTexts.fileLength, FileLengthKB(record.facts.fileLength))};
    if (showFree) {
        lines.freeSpace = Formatted(PanelTexts.freeSpace, static_cast<long>(record.facts.freeKB));
    }
    return lines;
}

void DrawProgressPanel(Canvas& canvas, ScreenRecord& record, bool showFree, int firstFrame) {
    const DrawingOperation operation(canvas);
    canvas.SetBkColor(kTextBackground);
    const PreviousFont previous =
        SelectFont(canvas, kBoxFont.height, kBoxFont.weight, kBoxFont.face);
    canvas.SetTextColor(kPanelText);
    for (int frame = firstFrame; frame <= kLastPanelFrame; ++frame) {
        const FrameRect& rect = FrameRects[static_cast<std::size_t>(frame)];
        DrawFrame(canvas, rect.border, frame, rect.colour);
    }
    const PanelLines lines = PanelLinesOf(record, showFree);
    canvas.TextOut(PanelTexts.diskProgress.x, PanelTexts.diskProgress.y, lines.diskProgress);
    canvas.TextOut(PanelTexts.totalProgress.x, PanelTexts.totalProgress.y, lines.totalProgress);
    canvas.TextOut(PanelTexts.fileLength.x, PanelTexts.fileLength.y, lines.fileLength);
    if (showFree) {
        canvas.TextOut(PanelTexts.freeSpace.x, PanelTexts.freeSpace.y, lines.freeSpace);
    }
    RestoreFont(canvas, previous);
    record.panelShowsFree = showFree;
    record.panelShown = true;
}

void DrawBar(Canvas& canvas, ScreenRecord& record, int length, int which) {
    const DrawingOperation operation(canvas);
    const auto bar = static_cast<std::size_t>(which);
    record.barLength[bar] = length;
    if (length <= 0) {
        return;
    }
    const Pen previous = canvas.SelectObject(CreatePen(PenStyle::kSolid, 1, kBar));
    for (int y = BarRows[bar].first; y < BarRows[bar].end; ++y) {
        canvas.MoveTo(kBarLeft, y);
        canvas.LineTo(kBarLeft + length, y);
    }
    record.barsShown = true;
    canvas.SelectObject(previous);
}

}  // namespace torvanik
