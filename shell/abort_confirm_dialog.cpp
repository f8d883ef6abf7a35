#include "shell/abort_confirm_dialog.h"

#include "res/dialog_templates.h"

namespace torvanik {

CAbortConfirmDlg::CAbortConfirmDlg(QWidget* owner) : TemplateDialog(AbortConfirmTemplate, owner) {}

void CAbortConfirmDlg::OnOK() {
    abort_ = true;
    TemplateDialog::OnOK();
}

void CAbortConfirmDlg::OnCancel() {
    abort_ = false;
    TemplateDialog::OnCancel();
}

}  // namespace torvanik
