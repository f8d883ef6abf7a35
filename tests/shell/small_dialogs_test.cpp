#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <functional>
#include <vector>

#include "modal_script.h"
#include "qt_printers.h"
#include "res/dialog_ids.h"
#include "shell/dialog_questions.h"
#include "shell/select_drive_dialog.h"
#include "shell/template_dialog.h"

namespace torvanik {
namespace {

using testing::WhenModalShown;

QPushButton* Button(QWidget& dialog, int id) {
    auto* button = qobject_cast<QPushButton*>(FindControl(dialog, id));
    EXPECT_NE(button, nullptr) << id;
    return button;
}

// The drive the open drive dialog has chosen so far.
int ChosenSoFar(QWidget& dialog) {
    return dynamic_cast<CSelectDriveDlg&>(dialog).driveIndex();
}

// Closing a dialog other than by one of its buttons.
enum class Dismissal { kEscape, kCloseBox };

void Dismiss(QWidget& dialog, Dismissal how) {
    if (how == Dismissal::kEscape) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    } else {
        dialog.windowHandle()->close();
    }
}

class SmallDialogsTest : public ::testing::Test {
  protected:
    DriveMap drives;
    DialogQuestions questions{nullptr, drives};
};

TEST_F(SmallDialogsTest, DriveButtonsWriteAtOnceAndClosingUndoesNothing) {
    struct Case {
        const char* name;
        std::vector<int> clicks;
        std::function<void(QWidget&)> close;
        int expected;
    };
    const auto clickOk = [](QWidget& d) { QTest::mouseClick(Button(d, IDOK), Qt::LeftButton); };
    const auto escape = [](QWidget& d) { Dismiss(d, Dismissal::kEscape); };
    const auto closeBox = [](QWidget& d) { Dismiss(d, Dismissal::kCloseBox); };
    const Case cases[] = {
        {"C: E: OK", {IDC_DRIVE_C, IDC_DRIVE_E}, clickOk, 4},
        {"E: Esc", {IDC_DRIVE_E}, escape, 4},
        {"E: close box", {IDC_DRIVE_E}, closeBox, 4},
        {"N: OK", {IDC_DRIVE_N}, clickOk, 13},
        {"B: A: Esc", {IDC_DRIVE_B, IDC_DRIVE_A}, escape, 0},
        {"no click, OK", {}, clickOk, 7},
        {"no click, Esc", {}, escape, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool stayedOpen = true;
        WhenModalShown([&](QWidget& dialog) {
            for (int id : c.clicks) {
                QPushButton* button = Button(dialog, id);
                QTest::mouseClick(button, Qt::LeftButton);
                EXPECT_EQ(ChosenSoFar(dialog), id - IDC_DRIVE_A);
                EXPECT_FALSE(button->isDown());
                EXPECT_FALSE(button->isChecked());
                stayedOpen = stayedOpen && dialog.isVisible();
            }
            c.close(dialog);
        });
        EXPECT_EQ(questions.ChooseDrive(7), c.expected);
        EXPECT_TRUE(stayedOpen);
    }
}

TEST_F(SmallDialogsTest, DriveDialogOpensOnOkAndMarksNoDrive) {
    WhenModalShown([](QWidget& dialog) {
        EXPECT_EQ(QApplication::focusWidget(), Button(dialog, IDOK));
        for (int id = IDC_DRIVE_A; id <= IDC_DRIVE_N; ++id) {
            const QPushButton* button = Button(dialog, id);
            EXPECT_FALSE(button->isDefault()) << id;
            EXPECT_FALSE(button->isCheckable()) << id;
            EXPECT_FALSE(button->hasFocus()) << id;
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(questions.ChooseDrive(4), 4);
}

TEST_F(SmallDialogsTest, SpaceOrEnterOnAFocusedDriveButtonClicksItOnly) {
    bool stayedOpen = false;
    int afterSpace = -1;
    WhenModalShown([&](QWidget& dialog) {
        QPushButton* d = Button(dialog, IDC_DRIVE_D);
        d->setFocus(Qt::TabFocusReason);
        QTest::keyClick(d, Qt::Key_Space);
        afterSpace = ChosenSoFar(dialog);
        QPushButton* f = Button(dialog, IDC_DRIVE_F);
        f->setFocus(Qt::TabFocusReason);
        QTest::keyClick(f, Qt::Key_Return);
        stayedOpen = dialog.isVisible();
        Dismiss(dialog, Dismissal::kEscape);
    });
    EXPECT_EQ(questions.ChooseDrive(0), 5);
    EXPECT_EQ(afterSpace, 3);
    EXPECT_TRUE(stayedOpen);
}

TEST_F(SmallDialogsTest, OnlyJaGivesTheTransferUp) {
    struct Case {
        const char* name;
        std::function<void(QWidget&)> answer;
        bool givesUp;
    };
    const Case cases[] = {
        {"Enter at once",
         [](QWidget& d) {
             EXPECT_EQ(QApplication::focusWidget(), Button(d, IDOK));
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
         },
         true},
        {"JA", [](QWidget& d) { QTest::mouseClick(Button(d, IDOK), Qt::LeftButton); }, true},
        {"NEI", [](QWidget& d) { QTest::mouseClick(Button(d, IDCANCEL), Qt::LeftButton); }, false},
        {"Esc", [](QWidget& d) { Dismiss(d, Dismissal::kEscape); }, false},
        {"close box", [](QWidget& d) { Dismiss(d, Dismissal::kCloseBox); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WhenModalShown(c.answer);
        EXPECT_EQ(questions.ConfirmAbort(), c.givesUp);
    }
}

// The questions that ask JA or NEI name their disks, and only JA says yes: whether to go
// on with a stopped transfer, and whether to take a disk from the parity disks.
TEST_F(SmallDialogsTest, OnlyJaSaysYesToAQuestionThatNamesItsDisks) {
    struct Question {
        const char* name;
        std::function<bool()> ask;
        QStringList texts;
    };
    const Question questionsAsked[] = {
        {"resume",
         [this] { return questions.ConfirmResume(2); },
         {"Overf\u00F8ringen ble avbrutt etter diskett 2.", "Fortsette fra diskett 3?"}},
        {"parity",
         [this] { return questions.TakeFromParity(3); },
         {"Diskett nummer 3 kan ikke leses.", "Vil du ta den fra paritetsdisken?"}},
    };
    const std::pair<const char*, bool> answers[] = {{"JA", true}, {"NEI", false}, {"Esc", false}};
    for (const Question& question : questionsAsked) {
        for (const auto& [name, yes] : answers) {
            SCOPED_TRACE(std::string(question.name) + " " + name);
            QStringList texts;
            WhenModalShown([&texts, name = std::string(name)](QWidget& d) {
                for (const QLabel* label : d.findChildren<QLabel*>()) {
                    texts << label->text();
                }
                if (name == "JA") {
                    QTest::mouseClick(Button(d, IDOK), Qt::LeftButton);
                } else if (name == "NEI") {
                    QTest::mouseClick(Button(d, IDCANCEL), Qt::LeftButton);
                } else {
                    Dismiss(d, Dismissal::kEscape);
                }
            });
            EXPECT_EQ(question.ask(), yes);
            EXPECT_EQ(texts, question.texts);
        }
    }
}

}  // namespace
}  // namespace torvanik
