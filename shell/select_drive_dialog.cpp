#include "shell/select_drive_dialog.h"

#include "engine/transfer_state.h"
#include "res/dialog_ids.h"
#include "res/dialog_templates.h"

namespace torvanik {

CSelectDriveDlg::CSelectDriveDlg(QWidget* owner) : TemplateDialog(SelectDriveTemplate, owner) {}

void CSelectDriveDlg::OnCommand(int id) {
    if (id >= IDC_DRIVE_A && id <= IDC_DRIVE_N) {
        transferState.driveIndex = id - IDC_DRIVE_A;
    }
}

}  // namespace torvanik
