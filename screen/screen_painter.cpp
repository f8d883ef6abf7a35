#include "screen/screen_painter.h"

#include <algorithm>
#include <array>

#include "platform/cp1252.h"
#include "screen/font_selection.h"
#include "screen/notice_box.h"
#include "screen/progress_panel.h"
#include "screen/screen_colours.h"
#include "screen/screen_fonts.h"
#include "screen/screen_lines.h"
#include "screen/screen_regions.h"
#include "screen/screen_strokes.h"

namespace torvanik {
namespace {

// Dark blue at the top to white in the last row; blue is full from row 125 on.
void DrawGradientBand(Canvas& canvas) {
    for (int y = 0; y < kGradientRows; ++y) {
        DrawGradientLine(canvas, y, y, std::min(y + kGradientBlueOffset, 255));
    }
}

void DrawWhiteBand(Canvas& canvas) {
    const Pen previous = canvas.SelectObject(CreatePen(PenStyle::kSolid, 1, kWhiteBand));
    canvas.Rectangle(kWhiteBandRegion.left, kWhiteBandRegion.top, kWhiteBandRegion.right,
                     kWhiteBandRegion.bottom);
    canvas.SelectObject(previous);
}

// All shadows of a run come before any of its texts.
void DrawShadowedLines(Canvas& canvas, int first, int last, Colour shadow, Colour text) {
    for (int line = first; line <= last; ++line) {
        DrawScreenLine(canvas, line, 1, shadow);
    }
    for (int line = first; line <= last; ++line) {
        DrawScreenLine(canvas, line, 0, text);
    }
}

void DrawModeLabel(Canvas& canvas, const TransferFacts& facts) {
    if (facts.armed == TransferKind::kJoin) {
        DrawScreenLine(canvas, kJoinModeLabelLine, 0, kOrange);
    } else if (facts.armed == TransferKind::kSplit) {
        DrawScreenLine(canvas, kSplitModeLabelLine, 0, kOrange);
    }
}

void DrawDriveField(Canvas& canvas, const TransferFacts& facts) {
    DrawOutlineRect(canvas, kDriveFieldOutline.left, kDriveFieldOutline.top,
                    kDriveFieldOutline.right, kDriveFieldOutline.bottom, kDriveFieldPenWidth,
                    kDriveFieldRed);
    DrawScreenLine(canvas, kDriveLabelLine, 0, kDriveFieldRed);
    canvas.TextOut(kDriveRootX, kDriveRootY, facts.driveRoot);
}

void DrawPathStrip(Canvas& canvas, const TransferFacts& facts) {
    const Pen previousPen =
        canvas.SelectObject(CreatePen(PenStyle::kInsideBorder, kPathStripPenWidth, kPathStrip));
    canvas.Rectangle(kPathStripRegion.left, kPathStripRegion.top, kPathStripRegion.right,
                     kPathStripRegion.bottom);
    const PreviousFont previousFont =
        SelectFont(canvas, kPathFont.height, kPathFont.weight, kPathFont.face);
    canvas.SetTextColor(kPathText);
    if (facts.armed != TransferKind::kNone) {
        canvas.TextOut(kPathTextX, kPathTextY, Utf8ToCp1252(facts.path));
    }
    RestoreFont(canvas, previousFont);
    canvas.SelectObject(previousPen);
}

}  // namespace

void DrawScreen(Canvas& canvas, ScreenRecord& record) {
    const DrawingOperation operation(canvas);
    const TransferFacts& facts = record.facts;
    DrawGradientBand(canvas);
    DrawWhiteBand(canvas);

    const PreviousFont previousFont =
        SelectFont(canvas, kScreenFont.height, kScreenFont.weight, kScreenFont.face);
    canvas.SetBkMode(BackgroundMode::kTransparent);
    DrawShadowedLines(canvas, kFirstIntroductionLine, kLastIntroductionLine, kIntroductionShadow,
                      kIntroductionText);
    DrawShadowedLines(canvas, kFirstAboutLine, kLastAboutLine, kAboutShadow, kOrange);
    DrawModeLabel(canvas, facts);
    DrawDriveField(canvas, facts);
    RestoreFont(canvas, previousFont);

    if (facts.pathStrip) {
        DrawPathStrip(canvas, facts);
    }
    if (record.helpShown) {
        DrawHelpBox(canvas);
    }
    if (record.panelShown) {
        DrawProgressPanel(canvas, record, record.panelShowsFree, 0);
    }
    if (record.barsShown) {
        const std::array<int, 2> lengths = record.barLength;
        DrawBar(canvas, record, lengths[0], 0);
        DrawBar(canvas, record, lengths[1], 1);
    }
    if (record.noticeShown) {
        const Notice notice = record.lastNotice;
        ShowNotice(canvas, record, notice);
    }
}

}  // namespace torvanik
