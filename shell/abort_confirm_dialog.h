#pragma once

#include "shell/template_dialog.h"

// "Kopiering ikke ferdig!": asked before a new transfer replaces one under way.
// The answer lands in transferState.transferPending: 0 for JA (abort), 1 for NEI.
namespace torvanik {

class CAbortConfirmDlg : public TemplateDialog {
  public:
    explicit CAbortConfirmDlg(QWidget* owner);

  protected:
    void OnOK() override;
    void OnCancel() override;
};

}  // namespace torvanik
