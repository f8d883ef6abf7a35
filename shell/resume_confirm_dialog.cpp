#include "shell/resume_confirm_dialog.h"

#include <QLabel>

#include "res/dialog_templates.h"

namespace torvanik {

ResumeConfirmDialog::ResumeConfirmDialog(QWidget* owner, int finishedDisks)
    : TemplateDialog(ResumeConfirmTemplate, owner) {
    for (QLabel* text : findChildren<QLabel*>()) {
        QString filled = text->text();
        filled.replace(QStringLiteral("%1"), QString::number(finishedDisks));
        filled.replace(QStringLiteral("%2"), QString::number(finishedDisks + 1));
        text->setText(filled);
    }
}

}  // namespace torvanik
