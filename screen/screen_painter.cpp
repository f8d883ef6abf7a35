#include "screen/screen_painter.h"

#include <algorithm>

#include "engine/transfer_state.h"
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
    const Pen previous = canvas.SelectObject(CreatePen(PS_SOLID, 1, kWhiteBand));
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

void DrawModeLabel(Canvas& canvas, const TransferState& state) {
    if (InJoinMode(state)) {
        DrawScreenLine(canvas, kJoinModeLabelLine, 0, kOrange);
    } else if (InMode(state)) {
        DrawScreenLine(canvas, kSplitModeLabelLine, 0, kOrange);
    }
}

void DrawDriveField(Canvas& canvas, const TransferState& state) {
    DrawOutlineRect(canvas, kDriveFieldOutline.left, kDriveFieldOutline.top,
                    kDriveFieldOutline.right, kDriveFieldOutline.bottom, kDriveFieldPenWidth,
                    kDriveFieldRed);
    DrawScreenLine(canvas, kDriveLabelLine, 0, kDriveFieldRed);
    canvas.TextOut(kDriveRootX, kDriveRootY,
                   DriveRoots[static_cast<std::size_t>(state.driveIndex)]);
}

void DrawPathStrip(Canvas& canvas, const TransferState& state) {
    const Pen previousPen =
        canvas.SelectObject(CreatePen(PS_INSIDEFRAME, kPathStripPenWidth, kPathStrip));
    canvas.Rectangle(kPathStripRegion.left, kPathStripRegion.top, kPathStripRegion.right,
                     kPathStripRegion.bottom);
    const PreviousFont previousFont =
        SelectFont(canvas, kPathFont.height, kPathFont.weight, kPathFont.face);
    canvas.SetTextColor(kPathText);
    if (InJoinMode(state)) {
        canvas.TextOut(kPathTextX, kPathTextY, Utf8ToCp1252(state.destinationPath));
    } else if (InMode(state)) {
        canvas.TextOut(kPathTextX, kPathTextY, Utf8ToCp1252(state.sourcePath));
    }
    RestoreFont(canvas, previousFont);
    canvas.SelectObject(previousPen);
}

}  // namespace

void DrawScreen(Canvas& canvas) {
    const DrawingOperation operation(canvas);
    const TransferState& state = transferState;
    DrawGradientBand(canvas);
    DrawWhiteBand(canvas);

    const PreviousFont previousFont =
        SelectFont(canvas, kScreenFont.height, kScreenFont.weight, kScreenFont.face);
    canvas.SetBkMode(TRANSPARENT);
    DrawShadowedLines(canvas, kFirstIntroductionLine, kLastIntroductionLine, kIntroductionShadow,
                      kIntroductionText);
    DrawShadowedLines(canvas, kFirstAboutLine, kLastAboutLine, kAboutShadow, kOrange);
    DrawModeLabel(canvas, state);
    DrawDriveField(canvas, state);
    RestoreFont(canvas, previousFont);

    if (state.pathStripKind > 0) {
        DrawPathStrip(canvas, state);
    }
    if ((state.viewState & VS_HELP) != 0) {
        DrawHelpBox(canvas);
    }
    if ((state.viewState & VS_PANEL) != 0) {
        DrawProgressPanel(canvas, state.panelShowFree, 0);
    }
    if ((state.viewState & VS_BARS) != 0) {
        DrawBar(canvas, state.barLength[0], 0);
        DrawBar(canvas, state.barLength[1], 1);
    }
    if ((state.viewState & VS_NOTICE) != 0) {
        const Notice notice = state.lastNotice;
        ShowNotice(canvas, notice.box, notice.firstLine, notice.lineCount, notice.number);
    }
}

}  // namespace torvanik
