#pragma once

#include "shell/template_dialog.h"

// "Velg diskettstasjon": each drive button writes its index to transferState.driveIndex
// at once and leaves the dialog open; however the dialog is closed, nothing is undone.
namespace torvanik {

class CSelectDriveDlg : public TemplateDialog {
  public:
    explicit CSelectDriveDlg(QWidget* owner);

  protected:
    void OnCommand(int id) override;
};

}  // namespace torvanik
