#include "shell/template_dialog.h"

#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVariant>

#include "res/dialog_ids.h"
#include "shell/dialog_units.h"

namespace torvanik {
namespace {

constexpr const char* kControlIdProperty = "controlId";

// A window icon control takes the icon's own size, whatever the template says.
constexpr int kIconSize = 32;

QWidget* MakeControl(const ControlTemplate& control, QWidget* dialog) {
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
        case ControlKind::kPushButton: {
            auto* button = new QPushButton(text, dialog);
            button->setDefault(control.isDefault);
            button->setFocusPolicy(control.tabStop ? Qt::StrongFocus : Qt::ClickFocus);
            return button;
        }
        case ControlKind::kGroupBox: {
            auto* box = new QGroupBox(text, dialog);
            box->setAlignment(Qt::AlignHCenter);
            return box;
        }
        case ControlKind::kLeftText: {
            auto* label = new QLabel(text, dialog);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            label->setTextFormat(Qt::PlainText);
            return label;
        }
        case ControlKind::kApplicationIcon: {
            auto* icon = new QLabel(dialog);
            icon->setPixmap(QApplication::windowIcon().pixmap(kIconSize, kIconSize));
            return icon;
        }
    }
    return nullptr;
}

}  // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    // The toolkit puts the program's name in place of an empty title; a blank stays empty.
    const QString caption = QString::fromUtf8(dialogTemplate.caption);
    setWindowTitle(caption.isEmpty() ? QStringLiteral(" ") : caption);
    setFont(QFont(QString::fromUtf8(dialogTemplate.fontFace), dialogTemplate.fontPoints));
    setModal(true);

    const DialogBaseUnits units = MeasureBaseUnits(font());
    setFixedSize(DialogXToPixels(dialogTemplate.width, units),
                 DialogYToPixels(dialogTemplate.height, units));

    QWidget* firstTabStop = nullptr;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = MakeControl(control, this);
        widget->setProperty(kControlIdProperty, control.id);
        const PixelRect rect =
            DialogRectToPixels(control.x, control.y, control.width, control.height, units);
        if (control.kind == ControlKind::kApplicationIcon) {
            widget->setGeometry(rect.x, rect.y, kIconSize, kIconSize);
        } else {
            widget->setGeometry(rect.x, rect.y, rect.width, rect.height);
        }
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            const int id = control.id;
            connect(button, &QPushButton::clicked, this, [this, id] {
                if (id == IDOK) {
                    OnOK();
                } else if (id == IDCANCEL) {
                    OnCancel();
                } else {
                    OnCommand(id);
                }
            });
        }
        if (firstTabStop == nullptr && control.tabStop) {
            firstTabStop = widget;
        }
    }
    if (firstTabStop != nullptr) {
        firstTabStop->setFocus();
    }
}

void TemplateDialog::OnOK() {
    QDialog::accept();
}

void TemplateDialog::OnCancel() {
    QDialog::reject();
}

void TemplateDialog::OnCommand(int /*id*/) {}

void TemplateDialog::accept() {
    OnOK();
}

void TemplateDialog::reject() {
    OnCancel();
}

QWidget* FindControl(const QWidget& dialog, int id) {
    if (id == IDC_STATIC) {
        return nullptr;
    }
    for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->property(kControlIdProperty) == QVariant(id)) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace torvanik
