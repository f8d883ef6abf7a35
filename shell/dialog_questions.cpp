#include "shell/dialog_questions.h"

#include "shell/abort_confirm_dialog.h"
#include "shell/file_pickers.h"
#include "shell/resume_confirm_dialog.h"
#include "shell/select_drive_dialog.h"

namespace torvanik {

DialogQuestions::DialogQuestions(QWidget* owner, const DriveMap& drives)
    : owner_(owner), drives_(drives) {}

bool DialogQuestions::ConfirmAbort() {
    CAbortConfirmDlg dialog(owner_);
    dialog.exec();
    return dialog.abort();
}

bool DialogQuestions::ConfirmResume(int finishedDisks) {
    ResumeConfirmDialog dialog(owner_, finishedDisks);
    dialog.exec();
    return dialog.resume();
}

std::optional<PickedFile> DialogQuestions::PickSourceFile() {
    return RunPicker(*MakeSourcePicker(owner_));
}

std::optional<PickedFile> DialogQuestions::PickDestinationFile(const std::string& initialName) {
    return RunPicker(*MakeDestinationPicker(owner_, initialName));
}

void DialogQuestions::OpenCleanUpPicker(const std::string& driveRoot, int diskNumber) {
    // The disk is held while the picker is open: a drive may show a copy of the disk's
    // files, and carry the deletions onto it.
    const DiskInDrive disk = drives_.Resolve(DriveIndexOf(driveRoot), diskNumber, DiskUse::Read);
    if (auto picker = MakeCleanUpPicker(owner_, disk.folder)) {
        picker->exec();
        std::string reason;
        drives_.CarryDeletions(disk, reason);
    }
}

int DialogQuestions::ChooseDrive(int driveIndex) {
    CSelectDriveDlg dialog(owner_, driveIndex);
    dialog.exec();
    return dialog.driveIndex();
}

}  // namespace torvanik
