#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// A drawing context over an RGB pixel surface, with the pixel rules of the painted screen.
namespace torvanik {

// Pixels as 0xFFRRGGBB, row by row, so that a QImage in Format_RGB32 can wrap them.
struct Surface {
    Surface(int width, int height);

    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};

class Canvas {
public:
    // `present` is called when a drawing operation has finished, so that what was drawn
    // reaches the screen at once.
    explicit Canvas(Surface& surface, std::function<void()> present = {});
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Surface& surface() { return surface_; }
    void Present();

private:
    Surface& surface_;
    std::function<void()> present_;
};

// Where a command gets its canvas for the client area: one per command.
struct CanvasSource {
    Surface& surface;
    std::function<void()> present;
};

}  // namespace torvanik
