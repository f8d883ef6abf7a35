#include "platform/canvas.h"

namespace torvanik {

Surface::Surface(int w, int h)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {}

Canvas::Canvas(Surface& surface, std::function<void()> present)
    : surface_(surface), present_(std::move(present)) {}

void Canvas::Present() {
    if (present_) {
        present_();
    }
}

}  // namespace torvanik
