#include "shell/select_drive_dialog.h"

#include "res/dialog_ids.h"
#include "res/dialog_templates.h"

namespace torvanik {

CSelectDriveDlg::CSelectDriveDlg(QWidget* owner, int driveIndex)
    : TemplateDialog(SelectDriveTemplate, owner), driveIndex_(driveIndex) {}

void CSelectDriveDlg::OnCommand(int id) {
    if (id >= IDC_DRIVE_A && id <= IDC_DRIVE_N) {
        driveIndex_ = id - IDC_DRIVE_A;
    }
}

}  // namespace torvanik
