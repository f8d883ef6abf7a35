#include "shell/about_dialog.h"

#include "res/dialog_templates.h"

namespace torvanik {

CAboutDlg::CAboutDlg(QWidget* owner) : TemplateDialog(AboutTemplate, owner) {}

void ShowAboutBox(QWidget* owner) {
    CAboutDlg dialog(owner);
    dialog.exec();
}

}  // namespace torvanik
