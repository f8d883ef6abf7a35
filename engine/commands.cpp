#include "engine/commands.h"

#include "engine/disk_set.h"
#include "engine/disk_steps.h"
#include "engine/engine_notice.h"
#include "engine/settings.h"
#include "engine/transfer_state.h"
#include "platform/cp1252.h"
#include "screen/progress_panel.h"
#include "screen/screen_painter.h"

namespace torvanik {
namespace {

// The notice box, where a click hides or shows the notice (strict on all four sides).
bool InNoticeBox(int x, int y) {
    return y > 85 && y < 170 && x > 95 && x < 415;
}

// UT and INN abandon a transfer only when the user says so; false means keep it.
bool MayAbandonTransfer(const EngineSeams& seams) {
    if (transferState.transferPending != 1) {
        return true;
    }
    seams.questions.ConfirmAbort();
    return transferState.transferPending != 1;
}

// The panel and bars as they stood when the disk in the drive was asked for.
void DrawDiskProgress(Canvas& canvas, int showFree) {
    DrawProgressPanel(canvas, showFree, 0);
    if (transferState.diskNumber > 1) {
        DrawBar(canvas, 0, 0);
        DrawBar(canvas, transferState.lastTotalBar, 1);
    }
}

// KLAR in a mode: one disk of the split (with the free-space line) or of the join.
void DiskStep(Canvas& canvas, const EngineSeams& seams) {
    TransferState& s = transferState;
    const bool join = InJoinMode(s);
    s.panelDiskNumber = s.diskNumber;
    DrawDiskProgress(canvas, join ? 0 : 1);
    const int advance = join ? ReadNextDisk(canvas, seams, s.diskNumber)
                             : WriteNextDisk(canvas, seams, s.diskNumber);
    s.diskNumber += advance;
    DrawScreen(canvas);
}

}  // namespace

void OnSplitOut(const EngineSeams& seams) {
    Canvas canvas(seams.canvases.surface, seams.canvases.present);
    TransferState& s = transferState;
    if (!MayAbandonTransfer(seams)) {
        return;
    }
    const auto picked = seams.questions.PickSourceFile();
    if (!picked) {
        s.viewState = 0;
        DrawScreen(canvas);
        return;
    }
    s.fileName = SetNameOf(Utf8ToCp1252(picked->fileName));
    s.sourcePath = picked->pathName;
    s.viewState = VS_SPLIT;
    s.diskNumber = 1;
    s.pathStripKind = 1;
    s.lastTotalBar = 0;
    s.bytesWritten = 0;
    s.freeKB = 0;
    Why why;
    s.sourceFile = OpenSource(seams, why);
    if (s.sourceFile == nullptr) {
        s.viewState = 0;
        s.pathStripKind = 0;
        TellWhy(canvas, seams, notice::kInsertDiskAgain, 2, -1, why);
    } else {
        Tell(canvas, seams, notice::kInsertDisk, 2, 1);
    }
    s.lastTotalBar = 0;
    DrawScreen(canvas);
}

void OnJoinIn(const EngineSeams& seams) {
    Canvas canvas(seams.canvases.surface, seams.canvases.present);
    TransferState& s = transferState;
    if (!MayAbandonTransfer(seams)) {
        return;
    }
    if (!ReadInfoFile(canvas, seams)) {
        Tell(canvas, seams, notice::kInsertDiskOneForJoin, 2, -1);
        s.viewState = 0;
        return;
    }
    const auto picked = seams.questions.PickDestinationFile(Cp1252ToUtf8(s.joinName));
    if (!picked) {
        s.viewState = 0;
        DrawScreen(canvas);
        return;
    }
    s.fileName = Utf8ToCp1252(picked->fileName);
    s.destinationPath = picked->pathName;
    s.pathStripKind = 2;
    s.diskNumber = 1;
    Why why;
    s.destinationFile = OpenDestination(seams, why);
    if (s.destinationFile != nullptr) {
        s.viewState = VS_JOIN;
        Tell(canvas, seams, notice::kKeepDiskOne, 2, -1);
        s.bytesJoined = 0;
    } else {
        // A split armed before would go on from the middle of its file onto a new disk 1
        // under the new name: a broken set. It is abandoned, as INN asked.
        if (InSplitMode(s)) {
            s.viewState &= ~VS_SPLIT;
        }
        TellWhy(canvas, seams, notice::kNoDestination, 1, -1, why);
    }
    s.lastTotalBar = 0;
    DrawScreen(canvas);
}

void OnDiskReady(const EngineSeams& seams) {
    Canvas canvas(seams.canvases.surface, seams.canvases.present);
    TransferState& s = transferState;
    if (!InMode(s)) {
        Tell(canvas, seams, notice::kIdlePrompt, 2, -1);
        return;
    }
    s.viewState &= ~VS_HELP;
    DiskStep(canvas, seams);
}

void OnCleanDisk(const EngineSeams& seams) {
    Canvas canvas(seams.canvases.surface, seams.canvases.present);
    TransferState& s = transferState;
    if (InMode(s)) {
        DrawDiskProgress(canvas, 1);
    }
    seams.questions.OpenCleanUpPicker(DriveRoots[static_cast<std::size_t>(s.driveIndex)]);
    if (InMode(s)) {
        Tell(canvas, seams, notice::kInsertDisk, 2, s.diskNumber);
    } else {
        Tell(canvas, seams, notice::kIdlePrompt, 2, -1);
    }
    DrawScreen(canvas);
}

void OnSelectDrive(const EngineSeams& seams) {
    Canvas canvas(seams.canvases.surface, seams.canvases.present);
    seams.questions.ChooseDrive();
    DrawScreen(canvas);
    Tell(canvas, seams, notice::kIdlePrompt, 2, -1);
    SaveSettings();
}

void OnShowHelp(const EngineSeams& seams) {
    Canvas canvas(seams.canvases.surface, seams.canvases.present);
    DrawHelpBox(canvas);
    transferState.viewState |= VS_HELP;
}

void OnLButtonDown(const EngineSeams& seams, unsigned /*flags*/, int x, int y) {
    Canvas canvas(seams.canvases.surface, seams.canvases.present);
    TransferState& s = transferState;
    if ((s.viewState & VS_HELP) != 0) {
        s.viewState &= ~VS_HELP;
        DrawScreen(canvas);
        return;
    }
    if (!InNoticeBox(x, y) || s.noticeToggle == 0) {
        return;
    }
    s.noticeToggle = -s.noticeToggle;
    if (s.noticeToggle == -1) {
        s.viewState &= ~VS_NOTICE;
    } else {
        s.viewState |= VS_NOTICE;
    }
    DrawScreen(canvas);
}

}  // namespace torvanik
