#include <functional>
#include <memory>
#include <string>

#include "screen/font_selection.h"
#include "screen/frame.h"
#include "screen/notice_box.h"
#include "screen/progress_panel.h"
#include "screen/screen_painter.h"
#include "screen/screen_strokes.h"
#include "screen_fixture.h"

namespace torvanik::testing {
namespace {

struct Operation {
    const char* name;
    std::function<void(Canvas&, ScreenRecord&)> draw;
};

const Operation kOperations[] = {
    {"ShowNotice",
     [](Canvas& c, ScreenRecord& r) {
         ShowNotice(c, r, NoticeOf(NoticeId::kDiskFull, kNoNumber));
     }},
    {"DrawProgressPanel", [](Canvas& c, ScreenRecord& r) { DrawProgressPanel(c, r, true, 0); }},
    {"DrawBar", [](Canvas& c, ScreenRecord& r) { DrawBar(c, r, 100, 0); }},
    {"DrawScreen", [](Canvas& c, ScreenRecord& r) { DrawScreen(c, r); }},
    {"DrawHelpBox", [](Canvas& c, ScreenRecord&) { DrawHelpBox(c); }},
    {"DrawFrame",
     [](Canvas& c, ScreenRecord&) {
         DrawFrame(c, 2, 0, Colour{0, 255, 0});
     }},
    {"DrawScreenLine", [](Canvas& c, ScreenRecord&) { DrawScreenLine(c, 9, 1, kBlack); }},
    {"DrawGradientLine", [](Canvas& c, ScreenRecord&) { DrawGradientLine(c, 7, 7, 137); }},
    {"DrawOutlineRect",
     [](Canvas& c, ScreenRecord&) { DrawOutlineRect(c, 1, 2, 30, 40, 2, kBlack); }},
};

class DrawingContractTest : public ScreenTest {};

TEST_F(DrawingContractTest, OperationsRestorePenAndFontAndPresentOnce) {
    record.facts.armed = TransferKind::kSplit;
    record.facts.pathStrip = true;
    record.helpShown = true;
    record.panelShown = true;
    record.barsShown = true;
    record.noticeShown = true;
    record.barLength = {10, 20};
    const Pen pen = CreatePen(PenStyle::kInsideBorder, 3, Colour{1, 2, 3});
    const std::shared_ptr<const Font> font = CreateFont("Arial", 30, 400);
    canvas.SelectObject(pen);
    canvas.SelectObject(font);
    for (const Operation& operation : kOperations) {
        SCOPED_TRACE(operation.name);
        presents = 0;
        operation.draw(canvas, record);
        EXPECT_EQ(canvas.pen(), pen);
        EXPECT_EQ(canvas.font(), font);
        EXPECT_EQ(presents, 1);  // nested operations do not present
    }
}

TEST_F(DrawingContractTest, SelectedFontIsReleasedWhenTheOldOneIsBack) {
    const std::shared_ptr<const Font> system = canvas.font();
    PreviousFont previous = SelectFont(canvas, 20, 700, "Arial");
    ASSERT_TRUE(previous.has_value());
    EXPECT_EQ(*previous, system);
    EXPECT_EQ(canvas.font()->height(), 20);
    const std::weak_ptr<const Font> made = canvas.font();
    RestoreFont(canvas, std::move(previous));
    EXPECT_EQ(canvas.font(), system);
    EXPECT_TRUE(made.expired());
}

TEST_F(DrawingContractTest, FontThatCannotBeMadeLeavesTheCurrentOne) {
    const std::shared_ptr<const Font> system = canvas.font();
    const PreviousFont previous = SelectFont(canvas, 0, 700, "Arial");
    EXPECT_FALSE(previous.has_value());
    EXPECT_EQ(canvas.font(), system);
    RestoreFont(canvas, previous);
    EXPECT_EQ(canvas.font(), system);
}

}  // namespace
}  // namespace torvanik::testing
