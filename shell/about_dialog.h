#pragma once

#include "shell/template_dialog.h"

namespace torvanik {

class CAboutDlg : public TemplateDialog {
  public:
    explicit CAboutDlg(QWidget* owner);
};

// The about command: runs the about box over `owner`; how it is closed does not matter.
void ShowAboutBox(QWidget* owner);

}  // namespace torvanik
