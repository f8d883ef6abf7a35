#include <algorithm>
#include <string>

#include "platform/cp1252.h"
#include "screen/font_selection.h"
#include "screen/notice_box.h"
#include "screen/progress_panel.h"
#include "screen/screen_colours.h"
#include "screen/screen_lines.h"
#include "screen/screen_painter.h"
#include "screen/screen_strokes.h"
#include "screen_fixture.h"

namespace torvanik::testing {
namespace {

constexpr Region kPathStrip{0, 295, 500, 312};
constexpr Region kModeLabel{25, 15, 125, 45};
constexpr Region kPanel{15, 178, 485, 290};
constexpr Region kNoticeFront{90, 80, 410, 165};
constexpr Region kNoticeBottomBand{95, 165, 415, 170};
constexpr Region kNoticeRightBand{410, 85, 415, 170};

class ScreenPainterTest : public ScreenTest {
  protected:
    void SetCopying() {
        record.facts.armed = TransferKind::kSplit;
        record.facts.pathStrip = true;
        record.facts.path = "/tmp/torvanik/bilde.bmp";
        record.facts.fileLength = 2500000;
        record.facts.freeKB = 976;
        record.panelShown = true;
        record.barsShown = true;
        record.noticeShown = true;
        record.panelDiskNumber = 2;
        record.panelShowsFree = true;
        record.barLength = {220, 264};
        record.lastNotice = NoticeOf(NoticeId::kCopyingTo, 2);
    }
    Surface Painted() {
        surface.pixels.assign(surface.pixels.size(), kUntouched);
        DrawScreen(canvas, record);
        return surface;
    }
    // The pixels a text of the screen font sets when drawn alone at (x, y).
    static std::vector<bool> GlyphMask(std::string_view text, int x, int y) {
        Surface blank(500, 312);
        Canvas alone(blank);
        const PreviousFont previous = SelectFont(alone, 20, 700, "Arial");
        alone.SetBkMode(BackgroundMode::kTransparent);
        alone.SetTextColor(kWhite);
        alone.TextOut(x, y, text);
        RestoreFont(alone, previous);
        std::vector<bool> mask(blank.pixels.size());
        std::transform(blank.pixels.begin(), blank.pixels.end(), mask.begin(),
                       [](std::uint32_t p) { return p == kWhite.Pixel(); });
        return mask;
    }
    static bool SameIn(const Surface& a, const Surface& b, Region region) {
        for (int y = region.top; y < region.bottom; ++y) {
            for (int x = region.left; x < region.right; ++x) {
                if (a.At(x, y) != b.At(x, y)) {
                    return false;
                }
            }
        }
        return true;
    }
};

TEST_F(ScreenPainterTest, GradientRowsRunFromDarkBlueToWhite) {
    DrawScreen(canvas, record);
    const auto isText = [](std::uint32_t p) {
        return p == kIntroductionText.Pixel() || p == kIntroductionShadow.Pixel() ||
               p == kAboutShadow.Pixel() || p == kOrange.Pixel();
    };
    for (const auto& [y, colour] :
         {std::pair{0, Colour{0, 0, 130}}, std::pair{124, Colour{124, 124, 254}},
          std::pair{125, Colour{125, 125, 255}}, std::pair{200, Colour{200, 200, 255}},
          std::pair{255, Colour{255, 255, 255}}}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(Count({0, y, 15, y + 1}, colour) + Count({485, y, 500, y + 1}, colour), 30);
        EXPECT_EQ(CountIf({0, y, 500, y + 1},
                          [&](std::uint32_t p) { return p == colour.Pixel() || isText(p); }),
                  500);
    }
    EXPECT_EQ(Count({0, 256, 95, 311}, kWhite), Area({0, 256, 95, 311}));
    EXPECT_EQ(CountIf({0, 256, 500, 311},
                      [](std::uint32_t p) {
                          return p == kWhite.Pixel() || p == kOrange.Pixel() ||
                                 p == kAboutShadow.Pixel();
                      }),
              Area({0, 256, 500, 311}));
}

TEST_F(ScreenPainterTest, IdleScreenShowsOnlyTheFixedPicture) {
    DrawScreen(canvas, record);
    EXPECT_EQ(Count(kModeLabel, kOrange), 0);
    EXPECT_EQ(Count({0, 311, 500, 312}, kUntouched), 500);
    for (const Colour absent :
         {Colour{0, 0, 187}, Colour{0, 255, 0}, kNoticeText, kPanelText, kHelpText, kPathText}) {
        EXPECT_EQ(Count(kWholeScreen, absent), 0);
    }
    EXPECT_EQ(Count({0, 50, 500, 312}, kBar), 0);
    EXPECT_GT(Count({134, 14, 481, 45}, kDriveFieldRed), 0);
}

TEST_F(ScreenPainterTest, DriveFieldNamesTheChosenDrive) {
    constexpr Region kDriveRoot{438, 18, 480, 42};
    DrawScreen(canvas, record);
    const Surface driveA = surface;
    record.facts.driveRoot = "C:";
    DrawScreen(canvas, record);
    EXPECT_GT(Count(kDriveRoot, kDriveFieldRed), 20);
    EXPECT_FALSE(SameIn(driveA, surface, kDriveRoot));
    EXPECT_TRUE(SameIn(driveA, surface, {0, 0, 430, 312}));
}

TEST_F(ScreenPainterTest, ModeLabelFollowsTheMode) {
    record.facts.armed = TransferKind::kSplit;
    DrawScreen(canvas, record);
    const int ut = Count(kModeLabel, kOrange);
    record.facts.armed = TransferKind::kJoin;
    DrawScreen(canvas, record);
    const int inn = Count(kModeLabel, kOrange);
    EXPECT_GT(ut, 0);
    EXPECT_GT(inn, ut);
}

TEST_F(ScreenPainterTest, PathStripShowsThePathOfTheMode) {
    record.facts.pathStrip = true;
    DrawScreen(canvas, record);
    EXPECT_EQ(Count(kPathStrip, kWhite), Area(kPathStrip));

    record.facts.armed = TransferKind::kSplit;
    record.facts.path = "/tmp/torvanik/b\xC3\xB8lge.bmp";  // UTF-8 on the host
    const Surface split = Painted();
    EXPECT_GT(Count(kPathStrip, kPathText), 0);

    record.facts.armed = TransferKind::kJoin;
    EXPECT_TRUE(SameIn(split, Painted(), kPathStrip));

    // The path is drawn in Windows-1252, in the path font, over the empty strip.
    record.facts.armed = TransferKind::kNone;
    Painted();
    const PreviousFont previous = SelectFont(canvas, 10, 700, "System");
    canvas.SetTextColor(kPathText);
    canvas.TextOut(34, 295, "/tmp/torvanik/b\xF8lge.bmp");
    RestoreFont(canvas, previous);
    EXPECT_TRUE(SameIn(split, surface, kPathStrip));
}

TEST_F(ScreenPainterTest, FinishedTransferLeavesTheStripEmpty) {
    record.noticeShown = true;
    record.facts.pathStrip = true;
    record.facts.path = "/tmp/torvanik/bilde.bmp";
    record.lastNotice = NoticeOf(NoticeId::kSplitDoneSeveral, kNoNumber);
    DrawScreen(canvas, record);
    EXPECT_EQ(Count(kPathStrip, kWhite), Area(kPathStrip));
    EXPECT_EQ(Count(kModeLabel, kOrange), 0);
}

// Each text lies over all the shadows of its run, which show only beside its strokes.
TEST_F(ScreenPainterTest, ShadowedLinesLieOverTheirShadows) {
    DrawScreen(canvas, record);
    struct Run {
        int first;
        int last;
        Colour shadow;
        Colour text;
    };
    for (const Run run :
         {Run{0, 3, kIntroductionShadow, kIntroductionText}, Run{4, 8, kAboutShadow, kOrange}}) {
        std::vector<bool> texts(surface.pixels.size());
        std::vector<bool> shadows(surface.pixels.size());
        for (int i = run.first; i <= run.last; ++i) {
            const TextLine& line = ScreenLines[static_cast<std::size_t>(i)];
            const std::vector<bool> text = GlyphMask(line.text, line.x, line.y);
            const std::vector<bool> shadow = GlyphMask(line.text, line.x - 1, line.y + 1);
            for (std::size_t p = 0; p < texts.size(); ++p) {
                texts[p] = texts[p] || text[p];
                shadows[p] = shadows[p] || shadow[p];
            }
        }
        for (std::size_t p = 0; p < texts.size(); ++p) {
            if (texts[p]) {
                ASSERT_EQ(surface.pixels[p], run.text.Pixel()) << p;
            } else if (shadows[p]) {
                ASSERT_EQ(surface.pixels[p], run.shadow.Pixel()) << p;
            }
        }
    }
}

TEST_F(ScreenPainterTest, HelpBoxLiesUnderPanelBarsAndNotice) {
    SetCopying();
    const Surface withoutHelp = Painted();
    record.helpShown = true;
    const Surface withHelp = Painted();
    EXPECT_TRUE(SameIn(withoutHelp, withHelp, kPanel));
    for (const Region notice : {kNoticeFront, kNoticeBottomBand, kNoticeRightBand}) {
        EXPECT_TRUE(SameIn(withoutHelp, withHelp, notice));
    }
    EXPECT_GT(Count({20, 60, 89, 170}, kHelpText), 0);
    EXPECT_EQ(Count({15, 50, 20, 178}, kHelpFrame), 5 * 128);
}

TEST_F(ScreenPainterTest, HelpBoxHidesThePathStripButItsEdges) {
    SetCopying();
    record.panelShown = false;
    record.barsShown = false;
    record.noticeShown = false;
    record.helpShown = true;
    DrawScreen(canvas, record);
    EXPECT_EQ(Count(kPathStrip, kPathText), 0);
    for (int y = kPathStrip.top; y < kPathStrip.bottom; ++y) {
        for (int x = 0; x < 500; ++x) {
            const bool underBox = x >= 15 && x < 485 && y < 310;
            const std::uint32_t p = surface.At(x, y);
            if (underBox) {
                ASSERT_TRUE(p == kHelpFrame.Pixel() || p == kWhite.Pixel() ||
                            p == kHelpText.Pixel())
                    << x << "," << y;
            } else {
                ASSERT_EQ(p, kWhite.Pixel()) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(Count({15, 305, 485, 310}, kHelpFrame), 470 * 5);
}

TEST_F(ScreenPainterTest, RepaintOfTheSameStateGivesTheSamePixels) {
    SetCopying();
    record.helpShown = true;
    const Surface first = Painted();
    const Surface second = Painted();
    EXPECT_EQ(first.pixels, second.pixels);
    Canvas fresh(surface);
    surface.pixels.assign(surface.pixels.size(), kUntouched);
    DrawScreen(fresh, record);
    EXPECT_EQ(first.pixels, surface.pixels);
}

TEST_F(ScreenPainterTest, TextsFillTheirCellsUntilTheScreenIsPainted) {
    constexpr Region kLabelCells{160, 20, 300, 20 + kSystemFontHeight};
    DrawScreenLine(canvas, kDriveLabelLine, 0, kDriveFieldRed);
    EXPECT_EQ(Count(kLabelCells, kUntouched), 0);
    EXPECT_GT(Count(kLabelCells, kWhite), 0);

    DrawScreen(canvas, record);
    EXPECT_EQ(canvas.backgroundMode(), BackgroundMode::kTransparent);
    surface.pixels.assign(surface.pixels.size(), kUntouched);
    DrawScreenLine(canvas, kDriveLabelLine, 0, kDriveFieldRed);
    EXPECT_EQ(Count(kLabelCells, kWhite), 0);
    EXPECT_EQ(Count(kLabelCells, kUntouched) + Count(kLabelCells, kDriveFieldRed),
              Area(kLabelCells));
}

TEST_F(ScreenPainterTest, ShiftedLineIsOnePixelLeftAndDown) {
    DrawScreenLine(canvas, 20, 0, kOrange);
    const Surface plain = surface;
    surface.pixels.assign(surface.pixels.size(), kUntouched);
    DrawScreenLine(canvas, 20, 1, kOrange);
    for (int y = 15; y < 45; ++y) {
        for (int x = 25; x < 70; ++x) {
            ASSERT_EQ(plain.At(x, y), surface.At(x - 1, y + 1)) << x << "," << y;
        }
    }
}

TEST_F(ScreenPainterTest, OutlineRectIsNotFilled) {
    DrawOutlineRect(canvas, 100, 100, 200, 150, 1, kBar);
    EXPECT_EQ(Count({101, 101, 200, 150}, kUntouched), 99 * 49);
    EXPECT_EQ(Count(kWholeScreen, kBar), 2 * 101 + 2 * 49);
}

}  // namespace
}  // namespace torvanik::testing
