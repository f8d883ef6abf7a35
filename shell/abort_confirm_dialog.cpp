#include "shell/abort_confirm_dialog.h"

#include "engine/transfer_state.h"
#include "res/dialog_templates.h"

namespace torvanik {

CAbortConfirmDlg::CAbortConfirmDlg(QWidget* owner) : TemplateDialog(AbortConfirmTemplate, owner) {}

void CAbortConfirmDlg::OnOK() {
    transferState.transferPending = 0;
    TemplateDialog::OnOK();
}

void CAbortConfirmDlg::OnCancel() {
    transferState.transferPending = 1;
    TemplateDialog::OnCancel();
}

}  // namespace torvanik
