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
    std::function<void(Canvas&)> draw;
};

const Operation kOperations[] = {
    {"ShowNotice", [](Canvas& c) { ShowNotice(c, 3, 5, 3, -1); }},
    {"DrawProgressPanel", [](Canvas& c) { DrawProgressPanel(c, 1, 0); }},
    {"DrawBar", [](Canvas& c) { DrawBar(c, 100, 0); }},
    {"DrawScreen", [](Canvas& c) { DrawScreen(c); }},
    {"DrawHelpBox", [](Canvas& c) { DrawHelpBox(c); }},
    {"DrawFrame",
     [](Canvas& c) {
         DrawFrame(c, 2, 0, Colour{0, 255, 0});
     }},
    {"DrawScreenLine", [](Canvas& c) { DrawScreenLine(c, 9, 1, kBlack); }},
    {"DrawGradientLine", [](Canvas& c) { DrawGradientLine(c, 7, 7, 137); }},
    {"DrawOutlineRect", [](Canvas& c) { DrawOutlineRect(c, 1, 2, 30, 40, 2, kBlack); }},
};

class DrawingContractTest : public ScreenTest {};

TEST_F(DrawingContractTest, OperationsRestorePenAndFontAndPresentOnce) {
    transferState.viewState = VS_SPLIT | VS_HELP | VS_PANEL | VS_BARS | VS_NOTICE;
    transferState.pathStripKind = 1;
    transferState.barLength = {10, 20};
    const Pen pen = CreatePen(PS_INSIDEFRAME, 3, Colour{1, 2, 3});
    const std::shared_ptr<const Font> font = CreateFont("Arial", 30, 400);
    canvas.SelectObject(pen);
    canvas.SelectObject(font);
    for (const Operation& operation : kOperations) {
        SCOPED_TRACE(operation.name);
        presents = 0;
        operation.draw(canvas);
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
