#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <memory>

#include "qt_printers.h"
#include "res/dialog_ids.h"
#include "res/dialog_templates.h"
#include "shell/abort_confirm_dialog.h"
#include "shell/about_dialog.h"
#include "shell/dialog_units.h"
#include "shell/select_drive_dialog.h"

namespace torvanik {
namespace {

TEST(DialogUnitsTest, ScaleByQuarterWidthAndEighthHeightRounded) {
    const DialogBaseUnits units{6, 13};
    struct Case {
        int x, y, w, h;
        PixelRect expected;
    };
    const Case cases[] = {
        {0, 0, 0, 0, {0, 0, 0, 0}},         {4, 8, 4, 8, {6, 13, 6, 13}},
        {16, 35, 50, 14, {24, 57, 75, 23}},  // 56.875 and 22.75 round up
        {1, 1, 2, 3, {2, 2, 3, 5}},          // 1.5 rounds up; 4.875 up
        {37, 49, 20, 11, {56, 80, 30, 18}},  // 55.5, 79.625, 17.875
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DialogRectToPixels(c.x, c.y, c.w, c.h, units), c.expected)
            << c.x << "," << c.y << "," << c.w << "," << c.h;
    }
}

QString ControlText(const QWidget& widget) {
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        return button->text();
    }
    if (auto* box = qobject_cast<const QGroupBox*>(&widget)) {
        return box->title();
    }
    return qobject_cast<const QLabel*>(&widget)->text();
}

bool IsKind(const QWidget& widget, ControlKind kind) {
    switch (kind) {
        case ControlKind::kPushButton:
            return qobject_cast<const QPushButton*>(&widget) != nullptr;
        case ControlKind::kGroupBox:
            return qobject_cast<const QGroupBox*>(&widget) != nullptr;
        case ControlKind::kLeftText:
        case ControlKind::kApplicationIcon:
            return qobject_cast<const QLabel*>(&widget) != nullptr;
    }
    return false;
}

struct TemplateCase {
    const DialogTemplate* dialogTemplate;
    std::function<std::unique_ptr<TemplateDialog>()> make;
};

TEST(TemplateDialogTest, EveryControlFollowsItsTemplate) {
    const TemplateCase cases[] = {
        {&AbortConfirmTemplate, [] { return std::make_unique<CAbortConfirmDlg>(nullptr); }},
        {&SelectDriveTemplate, [] { return std::make_unique<CSelectDriveDlg>(nullptr, 0); }},
        {&AboutTemplate, [] { return std::make_unique<CAboutDlg>(nullptr); }},
    };
    for (const TemplateCase& c : cases) {
        const DialogTemplate& t = *c.dialogTemplate;
        SCOPED_TRACE(t.id);
        const auto dialog = c.make();
        EXPECT_EQ(dialog->windowTitle().trimmed(), QString::fromUtf8(t.caption));
        EXPECT_FALSE(dialog->windowTitle().isEmpty());  // else the title bar names the program
        EXPECT_EQ(dialog->font().family(), QString::fromUtf8(t.fontFace));
        EXPECT_EQ(dialog->font().pointSize(), t.fontPoints);

        const DialogBaseUnits units = MeasureBaseUnits(dialog->font());
        const PixelRect frame = DialogRectToPixels(0, 0, t.width, t.height, units);
        EXPECT_EQ(dialog->minimumSize(), QSize(frame.width, frame.height));
        EXPECT_EQ(dialog->maximumSize(), QSize(frame.width, frame.height));

        const auto widgets = dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(widgets.size(), static_cast<qsizetype>(t.controls.size()));
        for (std::size_t i = 0; i < t.controls.size(); ++i) {
            const ControlTemplate& control = t.controls[i];
            const QWidget& widget = *widgets[static_cast<qsizetype>(i)];
            SCOPED_TRACE(i);
            EXPECT_TRUE(IsKind(widget, control.kind));
            EXPECT_EQ(widget.property("controlId").toInt(), control.id);
            const PixelRect r =
                DialogRectToPixels(control.x, control.y, control.width, control.height, units);
            if (control.kind == ControlKind::kApplicationIcon) {
                EXPECT_EQ(widget.pos(), QPoint(r.x, r.y));
                continue;
            }
            EXPECT_EQ(widget.geometry(), QRect(r.x, r.y, r.width, r.height));
            EXPECT_EQ(ControlText(widget), QString::fromUtf8(control.text));
            if (auto* button = qobject_cast<const QPushButton*>(&widget)) {
                EXPECT_EQ(button->isDefault(), control.isDefault);
                EXPECT_FALSE(button->isCheckable());
                EXPECT_EQ(button->focusPolicy() == Qt::StrongFocus, control.tabStop);
            }
            if (control.id != IDC_STATIC) {
                EXPECT_EQ(FindControl(*dialog, control.id), &widget);
            }
        }
    }
}

TEST(TemplateDialogTest, TextsKeepTheirLetters) {
    CAbortConfirmDlg abort(nullptr);
    const auto labels = abort.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0]->text(),
              QStringLiteral("Avbryte p") + QChar(0xE5) + QStringLiteral("begynt kopiering?"));

    CSelectDriveDlg drive(nullptr, 0);
    QStringList titles;
    for (const auto* box : drive.findChildren<QGroupBox*>()) {
        titles << box->title();
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Diskett"), QStringLiteral("Alternativt overf") +
                                                                  QChar(0xF8) +
                                                                  QStringLiteral("ringsmedium")}));
}

TEST(TemplateDialogTest, CentredOverItsOwner) {
    QWidget owner;
    owner.setGeometry(100, 80, 512, 450);
    owner.show();
    CAboutDlg dialog(&owner);
    dialog.show();
    QApplication::processEvents();
    EXPECT_NEAR(dialog.frameGeometry().center().x(), owner.frameGeometry().center().x(), 2);
    EXPECT_NEAR(dialog.frameGeometry().center().y(), owner.frameGeometry().center().y(), 2);
    dialog.close();
}

}  // namespace
}  // namespace torvanik
