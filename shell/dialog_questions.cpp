#include "shell/dialog_questions.h"

#include <algorithm>

#include "engine/transfer_state.h"
#include "shell/abort_confirm_dialog.h"
#include "shell/file_pickers.h"
#include "shell/select_drive_dialog.h"

namespace torvanik {

DialogQuestions::DialogQuestions(QWidget* owner, const DriveMap& drives)
    : owner_(owner), drives_(drives) {}

void DialogQuestions::ConfirmAbort() {
    CAbortConfirmDlg dialog(owner_);
    dialog.exec();
}

std::optional<PickedFile> DialogQuestions::PickSourceFile() {
    return RunPicker(*MakeSourcePicker(owner_));
}

std::optional<PickedFile> DialogQuestions::PickDestinationFile(const std::string& initialName) {
    return RunPicker(*MakeDestinationPicker(owner_, initialName));
}

void DialogQuestions::OpenCleanUpPicker(const std::string& driveRoot) {
    // The disk the next KLAR handles (disk 1 before any transfer), held while the picker is
    // open: a drive may show a copy of the disk's files, and carry the deletions onto it.
    const int diskNumber = std::max(1, transferState.diskNumber);
    const DiskInDrive disk = drives_.Resolve(DriveIndexOf(driveRoot), diskNumber, DiskUse::Read);
    if (auto picker = MakeCleanUpPicker(owner_, disk.folder)) {
        picker->exec();
        std::string reason;
        drives_.CarryDeletions(disk, reason);
    }
}

void DialogQuestions::ChooseDrive() {
    CSelectDriveDlg dialog(owner_);
    dialog.exec();
}

}  // namespace torvanik
