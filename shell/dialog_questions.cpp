#include "shell/dialog_questions.h"

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
    if (auto picker = MakeCleanUpPicker(owner_, drives_, driveRoot)) {
        picker->exec();
    }
}

void DialogQuestions::ChooseDrive() {
    CSelectDriveDlg dialog(owner_);
    dialog.exec();
}

}  // namespace torvanik
