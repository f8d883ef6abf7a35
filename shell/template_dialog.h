#pragma once

#include <QDialog>

#include "res/dialog_template.h"

// A modal dialog built from a template: controls placed absolutely in pixels converted from
// dialog units, a caption bar with a close box, a fixed size, centred over its owner.
//
// OK (id 1) calls OnOK, Cancel (id 2) calls OnCancel, any other push button calls
// OnCommand with its id and leaves the dialog open. Esc and the close box call OnCancel.
namespace torvanik {

class TemplateDialog : public QDialog {
  public:
    TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* owner);

    // Route to OnOK and OnCancel, so that Esc and the close box (which reject) reach OnCancel.
    void accept() override;
    void reject() override;

  protected:
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnCommand(int id);
};

// The control with this template id, or nullptr.
QWidget* FindControl(const QWidget& dialog, int id);

}  // namespace torvanik
