#include "shell/take_from_parity_dialog.h"

#include <QLabel>

#include "res/dialog_templates.h"

namespace torvanik {

TakeFromParityDialog::TakeFromParityDialog(QWidget* owner, int disk)
    : TemplateDialog(TakeFromParityTemplate, owner) {
    for (QLabel* text : findChildren<QLabel*>()) {
        QString filled = text->text();
        filled.replace(QStringLiteral("%1"), QString::number(disk));
        text->setText(filled);
    }
}

}  // namespace torvanik
