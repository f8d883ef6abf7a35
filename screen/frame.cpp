#include "screen/frame.h"

#include "screen/frame_rects.h"

namespace torvanik {

void DrawFrame(Canvas& canvas, int border, int index, Colour colour) {
    const DrawingOperation operation(canvas);
    const Pen previous = canvas.SelectObject(CreatePen(PenStyle::kInsideBorder, border, colour));
    const FrameRect& rect = FrameRects[static_cast<std::size_t>(index)];
    canvas.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
    canvas.SelectObject(previous);
}

}  // namespace torvanik
