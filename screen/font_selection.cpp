#include "screen/font_selection.h"

namespace torvanik {

PreviousFont SelectFont(Canvas& canvas, int height, int weight, std::string_view face) {
    // A canvas without a surface draws no text, so no font is made for it.
    if (!canvas.HasSurface()) {
        return std::nullopt;
    }
    std::shared_ptr<const Font> font = CreateFont(face, height, weight);
    if (!font) {
        return std::nullopt;
    }
    return canvas.SelectObject(std::move(font));
}

void RestoreFont(Canvas& canvas, PreviousFont previous) {
    if (previous) {
        canvas.SelectObject(std::move(*previous));
    }
}

}  // namespace torvanik
