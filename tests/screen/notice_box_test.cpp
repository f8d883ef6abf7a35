#include <string>

#include "screen/font_selection.h"
#include "screen/notice_box.h"
#include "screen/notice_lines.h"
#include "screen/screen_colours.h"
#include "screen_fixture.h"

namespace torvanik::testing {
namespace {

constexpr Colour kPlateBlue{0, 0, 187};
constexpr Colour kFrameRed{255, 0, 0};
constexpr Region kNoticeInside{94, 84, 406, 161};

class NoticeBoxTest : public ScreenTest {};

TEST_F(NoticeBoxTest, BackPlateShowsOnlyAsItsTwoBands) {
    ShowNotice(canvas, 3, 8, 1, 2);
    for (int y = 80; y < 170; ++y) {
        for (int x = 90; x < 415; ++x) {
            const bool band = (x >= 410 && y >= 85) || (y >= 165 && x >= 95);
            ASSERT_EQ(surface.At(x, y) == kPlateBlue.Pixel(), band) << x << "," << y;
        }
    }
    EXPECT_EQ(Count({90, 80, 410, 165}, kFrameRed), 320 * 85 - 312 * 77);
    EXPECT_GT(Count(kNoticeInside, kNoticeText), 0);
    EXPECT_EQ(Count(kNoticeInside, kNoticeText) + Count(kNoticeInside, kWhite),
              Area(kNoticeInside));
}

// The number comes after two spaces, drawn like any text of the line.
TEST_F(NoticeBoxTest, NumberIsAppendedAfterTwoSpaces) {
    for (const int number : {0, 2, 17}) {
        SCOPED_TRACE(number);
        ShowNotice(canvas, 3, 0, 2, number);
        const Surface shown = surface;

        ShowNotice(canvas, 3, 0, 0, -1);
        const PreviousFont previous = SelectFont(canvas, 20, 700, "Arial");
        canvas.SetTextColor(kNoticeText);
        canvas.TextOut(145, 100, "Sett inn diskett nummer  " + std::to_string(number));
        canvas.TextOut(NoticeLines[1].x, NoticeLines[1].y, NoticeLines[1].text);
        RestoreFont(canvas, previous);
        EXPECT_EQ(shown.pixels, surface.pixels);
    }
    // Entry 17 is entry 0 with its number written in.
    ShowNotice(canvas, 3, 0, 1, 1);
    const Surface numbered = surface;
    ShowNotice(canvas, 3, 17, 1, -1);
    EXPECT_EQ(numbered.pixels, surface.pixels);
}

TEST_F(NoticeBoxTest, NoLinesAndNoNumberIsTheEmptyBox) {
    ShowNotice(canvas, 3, 0, 0, -1);
    EXPECT_EQ(Count(kNoticeInside, kWhite), Area(kNoticeInside));
    EXPECT_EQ(transferState.lastNotice, (Notice{3, 0, 0, -1}));

    ShowNotice(canvas, 3, 0, 0, 4);  // the first line still carries its number
    EXPECT_GT(Count(kNoticeInside, kNoticeText), 0);
}

TEST_F(NoticeBoxTest, ShorterNoticeLeavesNothingOfTheLongerOne) {
    ShowNotice(canvas, 3, 10, 1, -1);
    const Surface alone = surface;
    ShowNotice(canvas, 3, 5, 3, -1);
    ShowNotice(canvas, 3, 10, 1, -1);
    EXPECT_EQ(alone.pixels, surface.pixels);
}

TEST_F(NoticeBoxTest, RecordsTheNoticeAndPresentsOnce) {
    transferState.noticeToggle = -1;
    transferState.viewState = VS_SPLIT;
    ShowNotice(canvas, 3, 14, 2, -1);
    EXPECT_EQ(transferState.lastNotice, (Notice{3, 14, 2, -1}));
    EXPECT_EQ(transferState.viewState, VS_SPLIT | VS_NOTICE);
    EXPECT_EQ(transferState.noticeToggle, 1);
    EXPECT_EQ(presents, 1);
}

}  // namespace
}  // namespace torvanik::testing
