#include <algorithm>
#include <array>
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
// The notice box with none of its lines.
constexpr Notice kNoLines{kEngineNoticeBox, 0, 0, kNoNumber};

// A notice's first line alone.
Notice FirstLineOf(NoticeId id, int number) {
    Notice line = NoticeOf(id, number);
    line.lineCount = 1;
    return line;
}

class NoticeBoxTest : public ScreenTest {};

TEST_F(NoticeBoxTest, BackPlateShowsOnlyAsItsTwoBands) {
    ShowNotice(canvas, record, NoticeOf(NoticeId::kCopyingTo, 2));
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
        ShowNotice(canvas, record, NoticeOf(NoticeId::kInsertDiskAgain, number));
        const Surface shown = surface;

        ShowNotice(canvas, record, kNoLines);
        const PreviousFont previous = SelectFont(canvas, 20, 700, "Arial");
        canvas.SetTextColor(kNoticeText);
        canvas.TextOut(145, 100, "Sett inn diskett nummer  " + std::to_string(number));
        canvas.TextOut(NoticeLines[1].x, NoticeLines[1].y, NoticeLines[1].text);
        RestoreFont(canvas, previous);
        EXPECT_EQ(shown.pixels, surface.pixels);
    }
    // The first line asking for disk 1 to join is the numbered line with 1 written in.
    ShowNotice(canvas, record, FirstLineOf(NoticeId::kInsertDiskAgain, 1));
    const Surface numbered = surface;
    ShowNotice(canvas, record, FirstLineOf(NoticeId::kInsertDiskOneForJoin, kNoNumber));
    EXPECT_EQ(numbered.pixels, surface.pixels);
}

TEST_F(NoticeBoxTest, NoLinesAndNoNumberIsTheEmptyBox) {
    ShowNotice(canvas, record, kNoLines);
    EXPECT_EQ(Count(kNoticeInside, kWhite), Area(kNoticeInside));
    EXPECT_EQ(record.lastNotice, kNoLines);

    // The first line still carries its number.
    ShowNotice(canvas, record, Notice{kEngineNoticeBox, 0, 0, 4});
    EXPECT_GT(Count(kNoticeInside, kNoticeText), 0);
}

TEST_F(NoticeBoxTest, ShorterNoticeLeavesNothingOfTheLongerOne) {
    const Notice shorter = NoticeOf(NoticeId::kNoDestination, kNoNumber);
    ShowNotice(canvas, record, shorter);
    const Surface alone = surface;
    ShowNotice(canvas, record, NoticeOf(NoticeId::kDiskFull, kNoNumber));
    ShowNotice(canvas, record, shorter);
    EXPECT_EQ(alone.pixels, surface.pixels);
}

// Every notice, with a two-digit number where it takes one, stays clear of the frame.
TEST_F(NoticeBoxTest, EveryNoticeStaysInsideTheBox) {
    constexpr Region kClear{100, 88, 400, 158};
    constexpr std::array kNumbered = {
        NoticeId::kInsertDiskAgain,   NoticeId::kInsertDisk,       NoticeId::kCopyingTo,
        NoticeId::kCopyingFrom,       NoticeId::kInsertParityDisk, NoticeId::kCopyingToParity,
        NoticeId::kCopyingFromParity,
    };
    for (const NoticeLayout& layout : kNoticeLayouts) {
        SCOPED_TRACE(static_cast<int>(layout.id));
        surface.pixels.assign(surface.pixels.size(), kUntouched);
        const bool numbered = std::ranges::find(kNumbered, layout.id) != kNumbered.end();
        ShowNotice(canvas, record, NoticeOf(layout.id, numbered ? 19 : kNoNumber));
        EXPECT_EQ(Count(kClear, kNoticeText), Count(kWholeScreen, kNoticeText));
    }
}

TEST_F(NoticeBoxTest, RecordsTheNoticeAndPresentsOnce) {
    record.noticeToggle = NoticeToggle::kHidden;
    record.facts.armed = TransferKind::kSplit;
    const TransferFacts facts = record.facts;
    ShowNotice(canvas, record, NoticeOf(NoticeId::kIdlePrompt, kNoNumber));
    EXPECT_EQ(record.lastNotice, NoticeOf(NoticeId::kIdlePrompt, kNoNumber));
    EXPECT_EQ(Shown(record), (std::array{false, false, false, true}));
    EXPECT_EQ(record.facts, facts);
    EXPECT_EQ(record.noticeToggle, NoticeToggle::kShown);
    EXPECT_EQ(presents, 1);
}

}  // namespace
}  // namespace torvanik::testing
