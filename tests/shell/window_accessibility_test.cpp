#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <chrono>
#include <filesystem>
#include <vector>

#include "modal_script.h"
#include "picker_widgets.h"
#include "res/command_ids.h"
#include "shell/main_window.h"
#include "shell/transfer_view.h"
#include "shell/view_accessibility.h"
#include "support/temp_folder.h"

namespace torvanik {
namespace {

using testing::TempFolder;
using namespace std::chrono_literals;

// A disk that takes a little over 60 kB of chunk.
constexpr std::uint64_t kSmallDisk = 64 * 1024;

struct Told {
    QAccessible::Event type;
    QString name;
    QVariant value;
};
std::vector<Told> told;

void Record(QAccessibleEvent& event) {
    QAccessibleInterface* source = event.accessibleInterface();
    QVariant value;
    if (event.type() == QAccessible::ValueChanged) {
        value = static_cast<QAccessibleValueChangeEvent&>(event).value();
    }
    told.push_back({event.type(), source != nullptr ? source->text(QAccessible::Name) : "", value});
}

class WindowAccessibilityTest : public ::testing::Test {
  protected:
    WindowAccessibilityTest() {
        setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1);
        setenv("XDG_STATE_HOME", (tmp / "state").c_str(), 1);
        std::filesystem::create_directories(driveDir);
        drives.Set(0, {driveDir, kSmallDisk});
        frame = std::make_unique<MainWindow>(drives, "Torvanik");
        EXPECT_TRUE(frame->Create());
        frame->show();
        QApplication::setActiveWindow(frame.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        frame->view()->announcer().SetSink(Record);
        told.clear();
    }

    QAccessibleInterface* Part(ViewPart part) const {
        return QAccessible::queryAccessibleInterface(frame->view())->child(static_cast<int>(part));
    }
    QString PartText(ViewPart part) const {
        QAccessibleTextInterface* text = Part(part)->textInterface();
        return text->text(0, text->characterCount());
    }
    int ValueOf(ViewPart part) const {
        return Part(part)->valueInterface()->currentValue().toInt();
    }
    bool Shown(ViewPart part) const { return !Part(part)->state().invisible; }

    // The next file picker, answered with the keyboard alone: the file's path pasted into
    // its name field (typed a key at a time, the picker selects each folder on the way as
    // well), then Return.
    static void PasteIntoPicker(const std::string& path) {
        testing::WhenModalShown(
            [path](QWidget& modal) {
                QWidget* field = modal.focusWidget();
                ASSERT_NE(qobject_cast<QLineEdit*>(field), nullptr);
                QGuiApplication::clipboard()->setText(QString::fromStdString(path));
                QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
                QTest::keyClick(field, Qt::Key_Return);
            },
            "QFileDialog");
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : frame.get(), key, modifiers);
    }

    TempFolder tmp;
    std::string driveDir = tmp / "a";
    DriveMap drives;
    std::unique_ptr<MainWindow> frame;
};

TEST_F(WindowAccessibilityTest, EveryButtonAndMenuItemIsNamedByItsVerbWithItsKey) {
    struct Button {
        int command;
        QString name;
        QString key;
        QString tooltip;
    };
    const std::vector<Button> buttons = {
        {ID_SPLIT_OUT, "UT", "Ctrl+O", "Velg fil (Ctrl+O)"},
        {ID_JOIN_IN, "INN", "Ctrl+S", "Velg destinasjon (Ctrl+S)"},
        {ID_DISK_READY, "KLAR", "Ctrl+K", "Diskett klar (Ctrl+K)"},
        {ID_CLEAN_DISK, "RYDDE", "Ctrl+R", "Rydde diskett (Ctrl+R)"},
        {ID_SELECT_DRIVE, "VELG", "Ctrl+D", "Velg alt. diskettstasjon (Ctrl+D)"},
        {ID_APP_ABOUT, "Info", "", "Informasjon"},
    };
    for (const Button& button : buttons) {
        QAction* action = frame->action(button.command);
        QAccessibleInterface* face =
            QAccessible::queryAccessibleInterface(frame->toolBar()->widgetForAction(action));
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->text(QAccessible::Name), button.name);
        EXPECT_EQ(face->text(QAccessible::Description), button.tooltip);
        QAccessibleActionInterface* press = face->actionInterface();
        const QStringList keys = press->keyBindingsForAction(press->pressAction());
        EXPECT_EQ(keys.value(0), button.key) << button.name.toStdString();
        EXPECT_EQ(action->shortcut(), QKeySequence(button.key));
    }
    // Every control of the toolbar and the menu has a name free of marks and keys.
    std::vector<QAccessibleInterface*> left = {
        QAccessible::queryAccessibleInterface(frame->toolBar()),
        QAccessible::queryAccessibleInterface(frame->menuBar())};
    int items = 0;
    while (!left.empty()) {
        QAccessibleInterface* face = left.back();
        left.pop_back();
        for (int i = 0; i < face->childCount(); ++i) {
            left.push_back(face->child(i));
        }
        const QAccessible::Role role = face->role();
        if (role == QAccessible::MenuItem || role == QAccessible::Button ||
            role == QAccessible::CheckBox || role == QAccessible::PushButton) {
            const QString name = face->text(QAccessible::Name);
            EXPECT_FALSE(name.isEmpty() || name.contains('\t') || name.contains('&') ||
                         name.contains("Ctrl"))
                << name.toStdString();
            ++items;
        }
    }
    EXPECT_GE(items, 17);
}

// The view's parts follow a split of two disks; the notice is announced as it changes.
TEST_F(WindowAccessibilityTest, ViewSaysWhatThePictureShows) {
    EXPECT_TRUE(PartText(ViewPart::kIntroduction).startsWith("Spesialprogram for kopiering"));
    EXPECT_EQ(PartText(ViewPart::kDriveField), "Valgt overføringsmedium / disk : A:");
    EXPECT_FALSE(Shown(ViewPart::kNotice));
    const std::string source = tmp / "bilde.bmp";
    testing::WriteBytes(source, testing::PatternBytes(100'000));

    testing::AnswerPicker(source);
    frame->action(ID_SPLIT_OUT)->trigger();
    EXPECT_EQ(PartText(ViewPart::kNotice), "Sett inn diskett nummer  1\nog klikk 'KLAR'!");
    EXPECT_EQ(PartText(ViewPart::kModeLabel), "UT");
    EXPECT_EQ(PartText(ViewPart::kPath), QString::fromStdString(source));
    EXPECT_FALSE(Shown(ViewPart::kDiskBar));
    const auto noticesTold = [] {
        return std::count_if(told.begin(), told.end(), [](const Told& event) {
            return event.type == QAccessible::NameChanged && event.name.contains("KLAR");
        });
    };
    EXPECT_EQ(noticesTold(), 1);
    // The same notice shown again is told again.
    testing::AnswerPicker(source);
    frame->action(ID_SPLIT_OUT)->trigger();
    EXPECT_EQ(noticesTold(), 2);
    const auto lastValueTold = [](const QString& bar) {
        for (auto event = told.rbegin(); event != told.rend(); ++event) {
            if (event->type == QAccessible::ValueChanged && event->name == bar) {
                return event->value.toInt();
            }
        }
        return -1;
    };

    struct Step {
        QString notice;
        QString diskProgress;  // empty: the panel is gone
        QString fileLength;
        int diskBar;
        int totalBar;
    };
    const std::vector<Step> steps = {
        {"Sett inn diskett nummer  2\nog klikk 'KLAR' på nytt!", "Forløp diskett nr.  1.",
         "Fillengde :   98  kB.", 440, 284},
        {"Kopiering UT til disketter fullført.", "", "", 0, 0},
    };
    for (std::size_t disk = 0; disk < steps.size(); ++disk) {
        frame->action(ID_DISK_READY)->trigger();
        testing::MoveFiles(driveDir, tmp / ("disk" + std::to_string(disk + 1)));
        const Step& step = steps[disk];
        EXPECT_EQ(PartText(ViewPart::kNotice), step.notice);
        EXPECT_EQ(PartText(ViewPart::kDiskProgress), step.diskProgress);
        EXPECT_EQ(PartText(ViewPart::kFileLength), step.fileLength);
        EXPECT_EQ(Shown(ViewPart::kDiskBar), !step.diskProgress.isEmpty());
        EXPECT_EQ(ValueOf(ViewPart::kDiskBar), step.diskBar);
        EXPECT_EQ(ValueOf(ViewPart::kTotalBar), step.totalBar);
        if (!step.diskProgress.isEmpty()) {
            // The bars' last values are told by the end of the step.
            EXPECT_EQ(lastValueTold(step.diskProgress), step.diskBar);
            EXPECT_EQ(lastValueTold("Totalt forløp."), step.totalBar);
        }
    }
    EXPECT_EQ(noticesTold(), 3);
    EXPECT_EQ(Part(ViewPart::kTotalBar)->valueInterface()->maximumValue(), 440);
}

TEST_F(WindowAccessibilityTest, ReasonIsReadFromTheStatusBar) {
    frame->action(ID_JOIN_IN)->trigger();  // no INFO.FIL on the disk
    EXPECT_EQ(QAccessible::queryAccessibleInterface(frame->statusBar())->text(QAccessible::Name),
              "Finner ikke INFO.FIL på disketten");
}

TEST_F(WindowAccessibilityTest, BarsAreToldAFewTimesASecondAtMost) {
    auto now = std::chrono::steady_clock::time_point{} + 1h;
    ViewAnnouncer& announcer = frame->view()->announcer();
    announcer.SetClock([&now] { return now; });
    ScreenText text = torvanik::TextOf(frame->view()->screen());
    text.panelShown = true;
    const auto valuesTold = [] {
        return std::count_if(told.begin(), told.end(), [](const Told& event) {
            return event.type == QAccessible::ValueChanged;
        });
    };
    // (advance, bar 0, told so far)
    const std::vector<std::tuple<std::chrono::milliseconds, int, int>> steps = {
        {0ms, 10, 1}, {100ms, 20, 1}, {100ms, 30, 1}, {60ms, 40, 2}, {10ms, 50, 2},
    };
    for (const auto& [advance, bar, expected] : steps) {
        now += advance;
        text.bars[0] = bar;
        announcer.Update(text);
        EXPECT_EQ(valuesTold(), expected) << bar;
    }
    announcer.Flush();
    EXPECT_EQ(valuesTold(), 3);
    EXPECT_EQ(told.back().value.toInt(), 50);
    announcer.Flush();
    EXPECT_EQ(valuesTold(), 3);
}

// Tab goes from the view through the toolbar's buttons; Ctrl+O, the path pasted into the
// picker, Return, then KLAR for each disk: by its key, and by Tab to it and Space.
TEST_F(WindowAccessibilityTest, SplitsOntoTwoDisksWithTheKeyboardAlone) {
    EXPECT_EQ(QApplication::focusWidget(), frame->view());
    QStringList reached;
    for (int tab = 0; tab < 6; ++tab) {
        Key(Qt::Key_Tab, Qt::NoModifier);
        reached << QAccessible::queryAccessibleInterface(QApplication::focusWidget())
                       ->text(QAccessible::Name);
    }
    EXPECT_EQ(reached, QStringList({"UT", "INN", "KLAR", "RYDDE", "VELG", "Info"}));
    Key(Qt::Key_Tab, Qt::NoModifier);
    EXPECT_EQ(QApplication::focusWidget(), frame->view());

    const std::string source = tmp / "bilde.bmp";
    testing::WriteBytes(source, testing::PatternBytes(100'000));
    PasteIntoPicker(source);
    Key(Qt::Key_O);
    // As a window manager does when the picker has gone.
    QApplication::setActiveWindow(frame.get());
    EXPECT_EQ(PartText(ViewPart::kNotice), "Sett inn diskett nummer  1\nog klikk 'KLAR'!");
    Key(Qt::Key_K);
    testing::MoveFiles(driveDir, tmp / "disk1");
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space}) {
        Key(key, Qt::NoModifier);
    }
    EXPECT_EQ(PartText(ViewPart::kNotice), "Kopiering UT til disketter fullført.");
    EXPECT_TRUE(std::filesystem::exists(driveDir + "/bilde_bmp_2"));
}

}  // namespace
}  // namespace torvanik
