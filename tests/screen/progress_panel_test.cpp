#include <array>
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
        const std::int64_t length = record.facts.fileLength;
        record.facts.fileLength = 0;
        DrawProgressPanel(canvas, record, true, 0);
        record.facts.fileLength = length;
        const PreviousFont previous = SelectFont(canvas, 20, 700, "Arial");
        canvas.SetTextColor(kPanelText);
        canvas.TextOut(230, 235, "Fillengde :   " + figure + "  kB.");
        RestoreFont(canvas, previous);
        return surface;
    }
};

TEST_F(ProgressPanelTest, FullBarFillsItsRowsInsideTheFrame) {
    DrawProgressPanel(canvas, record, true, 0);
    const Surface before = surface;
    DrawBar(canvas, record, 440, 0);
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
    EXPECT_TRUE(record.barsShown);
}

TEST_F(ProgressPanelTest, EmptyBarDrawsNothingButIsRecorded) {
    for (const bool barsShown : {false, true}) {
        for (const int length : {0, -3}) {
            record.panelShown = true;
            record.barsShown = barsShown;
            const Surface before = surface;
            DrawBar(canvas, record, length, 1);
            EXPECT_EQ(before.pixels, surface.pixels);
            EXPECT_EQ(record.barLength[1], length);
            EXPECT_EQ(Shown(record), (std::array{false, true, barsShown, false}));
        }
    }
}

TEST_F(ProgressPanelTest, ShorterBarOverALongerOneChangesNothing) {
    DrawProgressPanel(canvas, record, true, 0);
    DrawBar(canvas, record, 300, 1);
    const Surface longer = surface;
    DrawBar(canvas, record, 120, 1);
    EXPECT_EQ(longer.pixels, surface.pixels);
    EXPECT_EQ(record.barLength[1], 120);
}

TEST_F(ProgressPanelTest, RedrawingTheBarFramesWipesBothBars) {
    DrawProgressPanel(canvas, record, true, 0);
    const int outline = Count({15, 178, 485, 290}, Colour{0, 255, 0});
    DrawBar(canvas, record, 200, 0);
    DrawBar(canvas, record, 400, 1);
    DrawProgressPanel(canvas, record, true, 1);
    EXPECT_EQ(Count(kBar0Rows, kBar), 0);
    EXPECT_EQ(Count(kBar1Rows, kBar), 0);
    EXPECT_EQ(Count({15, 178, 485, 290}, Colour{0, 255, 0}), outline);
}

TEST_F(ProgressPanelTest, FileLengthIsWholeKilobytesPlusOne) {
    struct Case {
        TransferKind armed;
        std::int64_t fileLength;
        const char* figure;
    };
    for (const Case c :
         {Case{TransferKind::kSplit, 0, "1"}, Case{TransferKind::kSplit, 1023, "1"},
          Case{TransferKind::kSplit, 1024, "2"}, Case{TransferKind::kSplit, 2048, "3"},
          Case{TransferKind::kJoin, 2048, "3"}, Case{TransferKind::kJoin, 1023, "1"}}) {
        SCOPED_TRACE(std::to_string(c.fileLength));
        record.facts.armed = c.armed;
        record.facts.fileLength = c.fileLength;
        DrawProgressPanel(canvas, record, true, 0);
        const Surface shown = surface;
        EXPECT_EQ(shown.pixels, PanelWithFileLength(c.figure).pixels);
    }
}

TEST_F(ProgressPanelTest, FreeSpaceLineOnlyWhenAskedForAlsoOnRepaint) {
    record.facts.freeKB = 976;
    DrawProgressPanel(canvas, record, true, 0);
    EXPECT_GT(Count(kFreeSpaceText, kPanelText), 0);
    EXPECT_TRUE(record.panelShowsFree);

    DrawProgressPanel(canvas, record, false, 0);
    EXPECT_EQ(Count(kFreeSpaceText, kPanelText), 0);
    EXPECT_FALSE(record.panelShowsFree);
    EXPECT_TRUE(record.panelShown);
    DrawScreen(canvas, record);
    EXPECT_EQ(Count(kFreeSpaceText, kPanelText), 0);
}

}  // namespace
}  // namespace torvanik::testing
