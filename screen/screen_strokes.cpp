#include "screen/screen_strokes.h"

#include <cstdint>

#include "screen/screen_lines.h"
#include "screen/screen_regions.h"

namespace torvanik {

void DrawScreenLine(Canvas& canvas, int index, int shift, Colour colour) {
    const DrawingOperation operation(canvas);
    const TextLine& line = ScreenLines[static_cast<std::size_t>(index)];
    canvas.SetTextColor(colour);
    canvas.TextOut(line.x - shift, line.y + shift, line.text);
}

void DrawGradientLine(Canvas& canvas, int y, int green, int blue) {
    const DrawingOperation operation(canvas);
    const Colour colour{static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(green),
                        static_cast<std::uint8_t>(blue)};
    const Pen previous = canvas.SelectObject(CreatePen(PenStyle::kSolid, 1, colour));
    canvas.MoveTo(0, y);
    canvas.LineTo(kGradientWidth, y);
    canvas.SelectObject(previous);
}

void DrawOutlineRect(Canvas& canvas, int left, int top, int right, int bottom, int width,
                     Colour colour) {
    const DrawingOperation operation(canvas);
    const Pen previous = canvas.SelectObject(CreatePen(PenStyle::kSolid, width, colour));
    canvas.MoveTo(left, top);
    canvas.LineTo(right, top);
    canvas.LineTo(right, bottom);
    canvas.LineTo(left, bottom);
    // One pixel past the start, so that a 1-pixel pen closes the corner.
    canvas.LineTo(left, top - 1);
    canvas.SelectObject(previous);
}

}  // namespace torvanik
