#pragma once

#include "shell/template_dialog.h"

// "Diskett nummer N kan ikke leses. Vil du ta den fra paritetsdisken?": asked when a data
// disk of a join fails its step. JA goes on without it; NEI, Esc and the close box ask for
// the same disk again.
namespace torvanik {

class TakeFromParityDialog : public TemplateDialog {
  public:
    TakeFromParityDialog(QWidget* owner, int disk);
};

}  // namespace torvanik
