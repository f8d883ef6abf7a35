#pragma once

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "modal_script.h"

// The parts of the toolkit's own picker that a user works with.
namespace torvanik::testing {

inline QFileDialog& AsPicker(QWidget& modal) {
    auto* picker = qobject_cast<QFileDialog*>(&modal);
    EXPECT_NE(picker, nullptr);
    return *picker;
}

inline QLineEdit& NameField(QFileDialog& picker) {
    return *picker.findChild<QLineEdit*>("fileNameEdit");
}

inline QPushButton& PickerButton(QFileDialog& picker, QDialogButtonBox::StandardButton which) {
    return *picker.findChild<QDialogButtonBox*>("buttonBox")->button(which);
}

// Answers the next file picker through its name field and its accept button.
inline void AnswerPicker(const std::string& path) {
    WhenModalShown(
        [path](QWidget& modal) {
            QFileDialog& picker = AsPicker(modal);
            NameField(picker).setText(QString::fromStdString(path));
            PickerButton(picker, picker.acceptMode() == QFileDialog::AcceptOpen
                                     ? QDialogButtonBox::Open
                                     : QDialogButtonBox::Save)
                .click();
        },
        "QFileDialog");
}

}  // namespace torvanik::testing
