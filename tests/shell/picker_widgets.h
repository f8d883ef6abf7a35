#pragma once

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

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

}  // namespace torvanik::testing
