#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "canvas/colour.h"
#include "canvas/font.h"

// A drawing context over an RGB pixel surface, with the pixel rules of the painted screen.
namespace torvanik {

// Pixels as 0xFFRRGGBB, row by row, so that a QImage in Format_RGB32 can wrap them.
struct Surface {
    Surface(int width, int height);

    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }

    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};

enum class PenStyle {
    kSolid,         // a line of the pen's width along the path
    kInsideBorder,  // with Rectangle: a border of the pen's width wholly inside it
};

struct Pen {
    PenStyle style = PenStyle::kSolid;
    int width = 1;
    Colour colour = kBlack;

    bool operator==(const Pen&) const = default;
};

inline Pen CreatePen(PenStyle style, int width, Colour colour) {
    return {style, width, colour};
}

enum class BackgroundMode {
    kOpaque,       // text fills its character cells with the background colour first
    kTransparent,  // text draws its glyphs only
};

struct Point {
    int x = 0;
    int y = 0;

    bool operator==(const Point&) const = default;
};

class Canvas {
  public:
    // `present` is called when a drawing operation has finished, so that what was drawn
    // reaches the screen at once.
    explicit Canvas(Surface& surface, std::function<void()> present = {});
    // Without a surface the canvas keeps its state but draws no pixels and has no fonts:
    // for a front end that shows no picture.
    explicit Canvas(Surface* surface, std::function<void()> present = {});
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Surface& surface() { return *surface_; }
    bool HasSurface() const { return surface_ != nullptr; }
    void Present();

    // Both return what was selected before.
    Pen SelectObject(const Pen& pen);
    std::shared_ptr<const Font> SelectObject(std::shared_ptr<const Font> font);

    void SetTextColor(Colour colour) { textColour_ = colour; }
    void SetBkColor(Colour colour) { backgroundColour_ = colour; }
    void SetBkMode(BackgroundMode mode) { backgroundMode_ = mode; }

    // Fills left <= x < right, top <= y < bottom white, then borders it with the pen, inside.
    void Rectangle(int left, int top, int right, int bottom);
    void MoveTo(int x, int y) { currentPoint_ = {x, y}; }
    // A 1-pixel pen leaves the end point out; a wider one has round ends.
    void LineTo(int x, int y);
    // Windows-1252 text, the top-left corner of its first character cell at (x, y).
    void TextOut(int x, int y, std::string_view text);

    const Pen& pen() const { return pen_; }
    const std::shared_ptr<const Font>& font() const { return font_; }
    Colour textColour() const { return textColour_; }
    Colour backgroundColour() const { return backgroundColour_; }
    BackgroundMode backgroundMode() const { return backgroundMode_; }
    Point currentPoint() const { return currentPoint_; }

  private:
    friend class DrawingOperation;

    void FillSpan(int left, int right, int y, std::uint32_t pixel);
    void FillArea(int left, int top, int right, int bottom, std::uint32_t pixel);
    void DrawThinLine(Point from, Point to, std::uint32_t pixel);
    void DrawWideLine(Point from, Point to, int width, std::uint32_t pixel);

    Surface* surface_;
    std::function<void()> present_;
    int operationDepth_ = 0;
    Pen pen_;
    std::shared_ptr<const Font> font_;
    Colour textColour_ = kBlack;
    Colour backgroundColour_ = kWhite;
    BackgroundMode backgroundMode_ = BackgroundMode::kOpaque;
    Point currentPoint_;
};

// Marks one drawing operation: what it and the operations it calls draw is presented
// once, when the outermost one ends.
class DrawingOperation {
  public:
    explicit DrawingOperation(Canvas& canvas) : canvas_(canvas) { ++canvas_.operationDepth_; }
    ~DrawingOperation() {
        if (--canvas_.operationDepth_ == 0) {
            canvas_.Present();
        }
    }
    DrawingOperation(const DrawingOperation&) = delete;
    DrawingOperation& operator=(const DrawingOperation&) = delete;

  private:
    Canvas& canvas_;
};

// Where a command gets its canvas for the client area: one per command.
struct CanvasSource {
    CanvasSource(Surface& drawnOn, std::function<void()> presentWith)
        : surface(&drawnOn), present(std::move(presentWith)) {}
    // Canvases that record their state and draw nothing.
    static CanvasSource WithoutSurface() { return CanvasSource(); }

    Surface* surface;
    std::function<void()> present;

  private:
    CanvasSource() : surface(nullptr) {}
};

}  // namespace torvanik
