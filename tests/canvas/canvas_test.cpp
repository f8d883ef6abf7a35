#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "canvas/canvas.h"

namespace torvanik {
namespace {

constexpr std::uint32_t kUntouched = 0xFF123456;
constexpr Colour kInk{10, 20, 30};

class CanvasTest : public ::testing::Test {
  protected:
    CanvasTest() : surface(60, 40) { surface.pixels.assign(surface.pixels.size(), kUntouched); }

    // Pixels of `pixel` inside left <= x < right, top <= y < bottom.
    int Count(int left, int top, int right, int bottom, std::uint32_t pixel) const {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                count += surface.At(x, y) == pixel ? 1 : 0;
            }
        }
        return count;
    }
    int CountAll(std::uint32_t pixel) const {
        return Count(0, 0, surface.width, surface.height, pixel);
    }

    Surface surface;
    Canvas canvas{surface};
};

TEST_F(CanvasTest, StartsWithTheStateOfANewDrawingContext) {
    EXPECT_EQ(canvas.pen(), (Pen{PenStyle::kSolid, 1, kBlack}));
    EXPECT_EQ(canvas.textColour(), kBlack);
    EXPECT_EQ(canvas.backgroundColour(), kWhite);
    EXPECT_EQ(canvas.backgroundMode(), BackgroundMode::kOpaque);
    EXPECT_EQ(canvas.currentPoint(), (Point{0, 0}));
    ASSERT_NE(canvas.font(), nullptr);
    EXPECT_EQ(canvas.font()->height(), kSystemFontHeight);
}

TEST_F(CanvasTest, RectangleFillsWhiteAndBordersInside) {
    struct Case {
        PenStyle style;
        int width;
    };
    for (const Case c : {Case{PenStyle::kSolid, 1}, Case{PenStyle::kInsideBorder, 2},
                         Case{PenStyle::kInsideBorder, 4}, Case{PenStyle::kInsideBorder, 8}}) {
        SCOPED_TRACE(c.width);
        surface.pixels.assign(surface.pixels.size(), kInk.Pixel());
        canvas.SelectObject(CreatePen(c.style, c.width, Colour{255, 0, 0}));
        canvas.Rectangle(10, 5, 50, 30);
        for (int y = 0; y < surface.height; ++y) {
            for (int x = 0; x < surface.width; ++x) {
                const bool inside = x >= 10 && x < 50 && y >= 5 && y < 30;
                const bool border = inside && (x < 10 + c.width || x >= 50 - c.width ||
                                               y < 5 + c.width || y >= 30 - c.width);
                const std::uint32_t expected = border   ? 0xFFFF0000
                                               : inside ? kWhite.Pixel()
                                                        : kInk.Pixel();
                ASSERT_EQ(surface.At(x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST_F(CanvasTest, ThinLineLeavesOutItsEndPointInEitherDirection) {
    canvas.SelectObject(CreatePen(PenStyle::kSolid, 1, kInk));
    canvas.MoveTo(5, 3);
    canvas.LineTo(15, 3);
    EXPECT_EQ(Count(0, 3, 60, 4, kInk.Pixel()), 10);
    EXPECT_EQ(surface.At(5, 3), kInk.Pixel());
    EXPECT_EQ(surface.At(15, 3), kUntouched);
    EXPECT_EQ(canvas.currentPoint(), (Point{15, 3}));

    canvas.LineTo(15, 13);  // down from the point the first line left out
    canvas.LineTo(5, 13);
    EXPECT_EQ(Count(15, 3, 16, 13, kInk.Pixel()), 10);
    EXPECT_EQ(Count(6, 13, 16, 14, kInk.Pixel()), 10);
    EXPECT_EQ(surface.At(5, 13), kUntouched);
}

TEST_F(CanvasTest, WideLineIsTwoRowsWithRoundEnds) {
    canvas.SelectObject(CreatePen(PenStyle::kSolid, 2, kInk));
    canvas.MoveTo(10, 20);
    canvas.LineTo(40, 20);
    EXPECT_EQ(Count(10, 19, 40, 21, kInk.Pixel()), 60);  // rows 19 and 20 along the path
    EXPECT_EQ(Count(0, 0, 60, 19, kInk.Pixel()) + Count(0, 21, 60, 40, kInk.Pixel()), 0);
    EXPECT_EQ(surface.At(40, 20), kInk.Pixel());  // the end is covered, by a round cap
    EXPECT_EQ(surface.At(42, 20), kUntouched);
}

TEST_F(CanvasTest, DrawingPastTheSurfaceIsClipped) {
    canvas.SelectObject(CreatePen(PenStyle::kInsideBorder, 3, kInk));
    canvas.Rectangle(-20, -20, 10, 10);
    canvas.Rectangle(50, 30, 500, 312);
    canvas.MoveTo(-100, 5);
    canvas.LineTo(100, 5);
    canvas.MoveTo(30, -50);
    canvas.LineTo(30, 90);
    EXPECT_EQ(Count(0, 0, 7, 7, kWhite.Pixel()) + Count(0, 0, 7, 7, kInk.Pixel()), 49);
    EXPECT_EQ(surface.At(59, 39), kWhite.Pixel());
    EXPECT_EQ(surface.At(20, 5), kInk.Pixel());
    EXPECT_EQ(surface.At(30, 20), kInk.Pixel());
    canvas.TextOut(-30, -8, "Klipp");
    canvas.TextOut(40, 35, "Klipp");
    EXPECT_GT(CountAll(kBlack.Pixel()), 0);
}

TEST_F(CanvasTest, OpaqueTextFillsItsCellsAndTransparentTextDoesNot) {
    canvas.SetTextColor(kInk);
    canvas.SetBkColor(Colour{1, 2, 3});
    const int advance = canvas.font()->GlyphOf(' ').advance;
    canvas.TextOut(4, 6, "  ");
    EXPECT_EQ(CountAll(Colour{1, 2, 3}.Pixel()), 2 * advance * canvas.font()->height());
    EXPECT_EQ(Count(4, 6, 4 + 2 * advance, 6 + canvas.font()->height(), Colour{1, 2, 3}.Pixel()),
              2 * advance * canvas.font()->height());

    surface.pixels.assign(surface.pixels.size(), kUntouched);
    canvas.SetBkMode(BackgroundMode::kTransparent);
    canvas.TextOut(4, 6, "H  H");
    EXPECT_EQ(CountAll(kUntouched) + CountAll(kInk.Pixel()), surface.width * surface.height);
    EXPECT_GT(CountAll(kInk.Pixel()), 0);
}

TEST_F(CanvasTest, SelectObjectHandsBackWhatWasSelected) {
    const Pen red = CreatePen(PenStyle::kInsideBorder, 4, Colour{255, 0, 0});
    EXPECT_EQ(canvas.SelectObject(red), (Pen{}));
    EXPECT_EQ(canvas.pen(), red);
    const std::shared_ptr<const Font> system = canvas.font();
    const std::shared_ptr<const Font> arial = CreateFont("Arial", 20, 700);
    EXPECT_EQ(canvas.SelectObject(arial), system);
    EXPECT_EQ(canvas.font(), arial);
}

TEST(DrawingOperationTest, PresentsOnceWhenTheOutermostOperationEnds) {
    Surface surface(4, 4);
    int presents = 0;
    Canvas canvas(surface, [&] { ++presents; });
    {
        const DrawingOperation outer(canvas);
        { const DrawingOperation inner(canvas); }
        EXPECT_EQ(presents, 0);
    }
    EXPECT_EQ(presents, 1);
    { const DrawingOperation again(canvas); }
    EXPECT_EQ(presents, 2);
}

}  // namespace
}  // namespace torvanik
