#include <cstdint>
#include <string>

#include "screen/font_selection.h"
#include "screen/progress_panel.h"
#include "screen/screen_colours.h"
#include "screen/screen_painter.h"
#include "screen_fixture.h"

namespace torvanik::testing {
namespace {

constexpr Region kBar0Rows{0, 210, 500, 227};
constexpr Region kBar1Rows{0, 260, 500, 277};
constexpr Region kFrame1Border{26, 206, 474, 231};
constexpr Region kFreeSpaceText{230, 185, 485, 205};

class ProgressPanelTest : public ScreenTest {
  protected:
    // The panel as drawn, with the file-length line then written over in place; a
    // one-digit figure covers the old one-digit figure's cells exactly.
    Surface PanelWithFileLength(const std::string& figure) {
        const std::int64_t size = transferState.sourceSize;
        const std::int64_t total = transferState.joinTotal;
        transferState.sourceSize = 0;
        transferState.joinTotal = 0;
        DrawProgressPanel(canvas, 1, 0);
        transferState.sourceSize = size;
        transferState.joinTotal = total;
        const PreviousFont previous = SelectFont(canvas, 20, 700, "Arial");
        canvas.SetTextColor(kPanelText);
        canvas.TextOut(230, 235, "Fillengde :   " + figure + "  kB.");
        RestoreFont(canvas, previous);
        return surface;
    }
};

TEST_F(ProgressPanelTest, FullBarFillsItsRowsInsideTheFrame) {
    DrawProgressPanel(canvas, 1, 0);
    const Surface before = surface;
    DrawBar(canvas, 440, 0);
    for (int y = kBar0Rows.top; y < kBar0Rows.bottom; ++y) {
        for (int x = 0; x < 500; ++x) {
            const bool bar = x >= 30 && x < 470;
            ASSERT_EQ(surface.At(x, y) == kBar.Pixel(), bar) << x << "," << y;
        }
    }
    for (int y = kFrame1Border.top; y < kFrame1Border.bottom; ++y) {
        for (int x = kFrame1Border.left; x < kFrame1Border.right; ++x) {
            if (x < 28 || x >= 472 || y < 208 || y >= 229) {
                ASSERT_EQ(surface.At(x, y), before.At(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(transferState.viewState & VS_BARS, VS_BARS);
}

TEST_F(ProgressPanelTest, EmptyBarDrawsNothingButIsRecorded) {
    for (const int viewState : {VS_PANEL, VS_PANEL | VS_BARS}) {
        for (const int length : {0, -3}) {
            transferState.viewState = viewState;
            const Surface before = surface;
            DrawBar(canvas, length, 1);
            EXPECT_EQ(before.pixels, surface.pixels);
            EXPECT_EQ(transferState.barLength[1], length);
            EXPECT_EQ(transferState.viewState, viewState);
        }
    }
}

TEST_F(ProgressPanelTest, ShorterBarOverALongerOneChangesNothing) {
    DrawProgressPanel(canvas, 1, 0);
    DrawBar(canvas, 300, 1);
    const Surface longer = surface;
    DrawBar(canvas, 120, 1);
    EXPECT_EQ(longer.pixels, surface.pixels);
    EXPECT_EQ(transferState.barLength[1], 120);
}

TEST_F(ProgressPanelTest, RedrawingTheBarFramesWipesBothBars) {
    DrawProgressPanel(canvas, 1, 0);
    const int outline = Count({15, 178, 485, 290}, Colour{0, 255, 0});
    DrawBar(canvas, 200, 0);
    DrawBar(canvas, 400, 1);
    DrawProgressPanel(canvas, 1, 1);
    EXPECT_EQ(Count(kBar0Rows, kBar), 0);
    EXPECT_EQ(Count(kBar1Rows, kBar), 0);
    EXPECT_EQ(Count({15, 178, 485, 290}, Colour{0, 255, 0}), outline);
}

TEST_F(ProgressPanelTest, FileLengthIsWholeKilobytesPlusOne) {
    struct Case {
        int viewState;
        std::int64_t sourceSize;
        std::int64_t joinTotal;
        const char* figure;
    };
    for (const Case c : {Case{VS_SPLIT, 0, 0, "1"}, Case{VS_SPLIT, 1023, 0, "1"},
                         Case{VS_SPLIT, 1024, 0, "2"}, Case{VS_SPLIT, 2048, 0, "3"},
                         Case{VS_JOIN, 0, 2048, "3"}, Case{VS_JOIN, 5000, 1023, "1"}}) {
        SCOPED_TRACE(std::to_string(c.sourceSize) + " " + std::to_string(c.joinTotal));
        transferState.viewState = c.viewState;
        transferState.sourceSize = c.sourceSize;
        transferState.joinTotal = c.joinTotal;
        DrawProgressPanel(canvas, 1, 0);
        const Surface shown = surface;
        EXPECT_EQ(shown.pixels, PanelWithFileLength(c.figure).pixels);
    }
}

TEST_F(ProgressPanelTest, FreeSpaceLineOnlyWhenAskedForAlsoOnRepaint) {
    transferState.freeKB = 976;
    DrawProgressPanel(canvas, 1, 0);
    EXPECT_GT(Count(kFreeSpaceText, kPanelText), 0);
    EXPECT_EQ(transferState.panelShowFree, 1);

    DrawProgressPanel(canvas, 0, 0);
    EXPECT_EQ(Count(kFreeSpaceText, kPanelText), 0);
    EXPECT_EQ(transferState.panelShowFree, 0);
    EXPECT_EQ(transferState.viewState & VS_PANEL, VS_PANEL);
    DrawScreen(canvas);
    EXPECT_EQ(Count(kFreeSpaceText, kPanelText), 0);
}

}  // namespace
}  // namespace torvanik::testing
