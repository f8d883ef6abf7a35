#pragma once

#include "shell/template_dialog.h"

// "Kopiering ikke ferdig!": asked before a new transfer replaces one under way. JA gives
// the transfer up; NEI, Esc and the close box keep it.
namespace torvanik {

class CAbortConfirmDlg : public TemplateDialog {
  public:
    explicit CAbortConfirmDlg(QWidget* owner);

    bool abort() const { return abort_; }

  protected:
    void OnOK() override;
    void OnCancel() override;

  private:
    bool abort_ = false;
};

}  // namespace torvanik
