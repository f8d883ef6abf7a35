#pragma once

#include "shell/template_dialog.h"

// "Velg diskettstasjon": each drive button chooses its drive at once and leaves the dialog
// open; however the dialog is closed, nothing is undone.
namespace torvanik {

class CSelectDriveDlg : public TemplateDialog {
  public:
    CSelectDriveDlg(QWidget* owner, int driveIndex);

    int driveIndex() const { return driveIndex_; }

  protected:
    void OnCommand(int id) override;

  private:
    int driveIndex_;
};

}  // namespace torvanik
