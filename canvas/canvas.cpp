#include "canvas/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace torvanik {

Surface::Surface(int w, int h)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {}

Canvas::Canvas(Surface& surface, std::function<void()> present)
    : Canvas(&surface, std::move(present)) {}

Canvas::Canvas(Surface* surface, std::function<void()> present)
    : surface_(surface), present_(std::move(present)) {
    if (surface_ != nullptr) {
        font_ = CreateFont(kSystemFontFace, kSystemFontHeight, kSystemFontWeight);
    }
}

void Canvas::Present() {
    if (present_) {
        present_();
    }
}

Pen Canvas::SelectObject(const Pen& pen) {
    return std::exchange(pen_, pen);
}

std::shared_ptr<const Font> Canvas::SelectObject(std::shared_ptr<const Font> font) {
    return std::exchange(font_, std::move(font));
}

void Canvas::FillSpan(int left, int right, int y, std::uint32_t pixel) {
    if (y < 0 || y >= surface_->height) {
        return;
    }
    left = std::max(left, 0);
    right = std::min(right, surface_->width);
    if (left >= right) {
        return;
    }
    const auto row = surface_->pixels.begin() + static_cast<std::ptrdiff_t>(y) * surface_->width;
    std::fill(row + left, row + right, pixel);
}

void Canvas::FillArea(int left, int top, int right, int bottom, std::uint32_t pixel) {
    for (int y = std::max(top, 0); y < std::min(bottom, surface_->height); ++y) {
        FillSpan(left, right, y, pixel);
    }
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
    if (surface_ == nullptr || left >= right || top >= bottom) {
        return;
    }
    FillArea(left, top, right, bottom, kWhite.Pixel());
    // Every border lies inside the rectangle; for a 1-pixel pen of either style that is
    // the outermost ring.
    const int border = std::max(pen_.width, 1);
    const std::uint32_t pixel = pen_.colour.Pixel();
    FillArea(left, top, right, std::min(top + border, bottom), pixel);
    FillArea(left, std::max(bottom - border, top), right, bottom, pixel);
    FillArea(left, top, std::min(left + border, right), bottom, pixel);
    FillArea(std::max(right - border, left), top, right, bottom, pixel);
}

void Canvas::LineTo(int x, int y) {
    const Point to{x, y};
    if (surface_ != nullptr && pen_.width > 1) {
        DrawWideLine(currentPoint_, to, pen_.width, pen_.colour.Pixel());
    } else if (surface_ != nullptr) {
        DrawThinLine(currentPoint_, to, pen_.colour.Pixel());
    }
    currentPoint_ = to;
}

void Canvas::DrawThinLine(Point from, Point to, std::uint32_t pixel) {
    if (from.y == to.y) {
        if (from.x <= to.x) {
            FillSpan(from.x, to.x, from.y, pixel);
        } else {
            FillSpan(to.x + 1, from.x + 1, from.y, pixel);
        }
        return;
    }
    const int dx = std::abs(to.x - from.x);
    const int dy = -std::abs(to.y - from.y);
    const int stepX = from.x < to.x ? 1 : -1;
    const int stepY = from.y < to.y ? 1 : -1;
    int error = dx + dy;
    Point p = from;
    while (p != to) {
        FillSpan(p.x, p.x + 1, p.y, pixel);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            p.y += stepY;
        }
    }
}

// The pen's disc swept along the segment: every pixel whose centre lies within half the
// width of the segment between the two points.
void Canvas::DrawWideLine(Point from, Point to, int width, std::uint32_t pixel) {
    const double radius = width / 2.0;
    const double ax = from.x;
    const double ay = from.y;
    const double bx = to.x;
    const double by = to.y;
    const double lengthSquared = (bx - ax) * (bx - ax) + (by - ay) * (by - ay);
    for (int py = std::min(from.y, to.y) - width; py <= std::max(from.y, to.y) + width; ++py) {
        for (int px = std::min(from.x, to.x) - width; px <= std::max(from.x, to.x) + width; ++px) {
            const double cx = px + 0.5;
            const double cy = py + 0.5;
            double t = 0.0;
            if (lengthSquared > 0.0) {
                t = std::clamp(((cx - ax) * (bx - ax) + (cy - ay) * (by - ay)) / lengthSquared, 0.0,
                               1.0);
            }
            const double ex = cx - (ax + t * (bx - ax));
            const double ey = cy - (ay + t * (by - ay));
            if (ex * ex + ey * ey <= radius * radius) {
                FillSpan(px, px + 1, py, pixel);
            }
        }
    }
}

void Canvas::TextOut(int x, int y, std::string_view text) {
    if (surface_ == nullptr || !font_) {
        return;
    }
    const Font& font = *font_;
    if (backgroundMode_ == BackgroundMode::kOpaque) {
        int cellsRight = x;
        for (const char c : text) {
            cellsRight += font.GlyphOf(static_cast<unsigned char>(c)).advance;
        }
        FillArea(x, y, cellsRight, y + font.height(), backgroundColour_.Pixel());
    }
    const std::uint32_t pixel = textColour_.Pixel();
    const int baseline = y + font.ascent();
    int penX = x;
    for (const char c : text) {
        const Glyph& glyph = font.GlyphOf(static_cast<unsigned char>(c));
        for (const GlyphRun& run : glyph.runs) {
            FillSpan(penX + run.dx, penX + run.dx + run.length, baseline + run.dy, pixel);
        }
        penX += glyph.advance;
    }
}

}  // namespace torvanik
