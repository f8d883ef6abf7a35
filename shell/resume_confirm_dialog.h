#pragma once

#include "shell/template_dialog.h"

// "Overføringen ble avbrutt etter diskett N. Fortsette fra diskett N+1?": asked when UT or
// INN picks a file whose transfer stopped. JA goes on; NEI, Esc and the close box start
// from disk 1.
namespace torvanik {

class ResumeConfirmDialog : public TemplateDialog {
  public:
    ResumeConfirmDialog(QWidget* owner, int finishedDisks);
};

}  // namespace torvanik
