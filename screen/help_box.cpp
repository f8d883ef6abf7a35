#include "screen/help_box.h"

#include "screen/font_selection.h"
#include "screen/screen_colours.h"
#include "screen/screen_fonts.h"
#include "screen/screen_lines.h"
#include "screen/screen_regions.h"
#include "screen/screen_strokes.h"

namespace torvanik {

void DrawHelpBox(Canvas& canvas) {
    const DrawingOperation operation(canvas);
    const Pen previousPen =
        canvas.SelectObject(CreatePen(PenStyle::kInsideBorder, kHelpBoxPenWidth, kHelpFrame));
    canvas.Rectangle(kHelpBoxRegion.left, kHelpBoxRegion.top, kHelpBoxRegion.right,
                     kHelpBoxRegion.bottom);
    const PreviousFont previousFont =
        SelectFont(canvas, kHelpFont.height, kHelpFont.weight, kHelpFont.face);
    for (int line = kFirstHelpLine; line <= kLastHelpLine; ++line) {
        DrawScreenLine(canvas, line, 0, kHelpText);
    }
    RestoreFont(canvas, previousFont);
    canvas.SelectObject(previousPen);
}

}  // namespace torvanik
