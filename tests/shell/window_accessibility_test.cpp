#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <algorithm>
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
    const bool bar = event.type() == QAccessible::ValueChanged;
    told.push_back({event.type(), source != nullptr ? source->text(QAccessible::Name) : "",
                    bar ? static_cast<QAccessibleValueChangeEvent&>(event).value() : QVariant()});
}

// How many events of a type were told, of a part whose name holds `within` if given.
long CountTold(QAccessible::Event type, const QString& within = {}) {
    return std::count_if(told.begin(), told.end(), [&](const Told& event) {
        return event.type == type && (within.isEmpty() || event.name.contains(within));
    });
}

int LastValueTold(const QString& bar) {
    const auto event = std::find_if(told.rbegin(), told.rend(), [&](const Told& event) {
        return event.type == QAccessible::ValueChanged && event.name == bar;
    });
    return event != told.rend() ? event->value.toInt() : -1;
}

QAccessibleInterface* Face(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
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
        testing::WriteBytes(source, testing::PatternBytes(100'000));
        told.clear();
    }

    QAccessibleInterface* Part(ViewPart part) const {
        return Face(frame->view())->child(static_cast<int>(part));
    }
    QString PartText(ViewPart part) const {
        QAccessibleTextInterface* text = Part(part)->textInterface();
        return text->text(0, text->characterCount());
    }
    int ValueOf(ViewPart part) const {
        return Part(part)->valueInterface()->currentValue().toInt();
    }
    bool Shown(ViewPart part) const { return !Part(part)->state().invisible; }

    // Each key goes to where the focus is by then.
    void Press(const QKeySequence& keys) {
        for (int i = 0; i < keys.count(); ++i) {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus != nullptr ? focus : frame.get(), keys[i].key(),
                            keys[i].keyboardModifiers());
        }
    }

    TempFolder tmp;
    std::string driveDir = tmp / "a";
    std::string source = tmp / "bilde.bmp";
    DriveMap drives;
    std::unique_ptr<MainWindow> frame;
};

// Tab goes from the view through the toolbar's buttons in turn and back to the view.
TEST_F(WindowAccessibilityTest, EveryButtonAndMenuItemIsNamedByItsVerbWithItsKey) {
    const std::vector<std::tuple<int, QString, QString, QString>> buttons = {
        {ID_SPLIT_OUT, "UT", "Ctrl+O", "Velg fil (Ctrl+O)"},
        {ID_JOIN_IN, "INN", "Ctrl+S", "Velg destinasjon (Ctrl+S)"},
        {ID_DISK_READY, "KLAR", "Ctrl+K", "Diskett klar (Ctrl+K)"},
        {ID_CLEAN_DISK, "RYDDE", "Ctrl+R", "Rydde diskett (Ctrl+R)"},
        {ID_SELECT_DRIVE, "VELG", "Ctrl+D", "Velg alt. diskettstasjon (Ctrl+D)"},
        {ID_APP_ABOUT, "Info", "", "Informasjon"},
    };
    EXPECT_EQ(QApplication::focusWidget(), frame->view());
    for (const auto& [command, name, key, tooltip] : buttons) {
        Press(Qt::Key_Tab);
        QWidget* button = QApplication::focusWidget();
        EXPECT_EQ(button, frame->toolBar()->widgetForAction(frame->action(command)));
        QAccessibleInterface* face = Face(button);
        EXPECT_EQ(face->text(QAccessible::Name), name);
        EXPECT_EQ(face->text(QAccessible::Description), tooltip);
        QAccessibleActionInterface* press = face->actionInterface();
        EXPECT_EQ(press->keyBindingsForAction(press->pressAction()).value(0), key)
            << name.toStdString();
    }
    Press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), frame->view());
    // Every control of the toolbar and the menu has a name free of marks and keys.
    const QList<QAccessible::Role> controls = {QAccessible::MenuItem, QAccessible::Button,
                                               QAccessible::CheckBox, QAccessible::PushButton};
    std::vector<QAccessibleInterface*> left = {Face(frame->toolBar()), Face(frame->menuBar())};
    int items = 0;
    while (!left.empty()) {
        QAccessibleInterface* face = left.back();
        left.pop_back();
        for (int i = 0; i < face->childCount(); ++i) {
            left.push_back(face->child(i));
        }
        if (controls.contains(face->role())) {
            const QString name = face->text(QAccessible::Name);
            EXPECT_FALSE(name.isEmpty() || name.contains(QRegularExpression("[\t&]|Ctrl")))
                << name.toStdString();
            ++items;
        }
    }
    EXPECT_GE(items, 17);
}

// The view's parts follow a split of two disks asked for by the keyboard alone: Ctrl+O, the
// path pasted into the picker's name field (typed a key at a time, the picker selects each
// folder on the way), Return; then KLAR by its key, and by Tab to it and Space. The notice is
// told each time it is shown, the split asked for again too; the bars' last values by a
// step's end.
TEST_F(WindowAccessibilityTest, ViewSaysWhatThePictureShowsThroughAKeyboardSplit) {
    EXPECT_TRUE(PartText(ViewPart::kIntroduction).startsWith("Spesialprogram for kopiering"));
    EXPECT_EQ(PartText(ViewPart::kDriveField), "Valgt overføringsmedium / disk : A:");
    EXPECT_FALSE(Shown(ViewPart::kNotice));
    testing::WhenModalShown(
        [this](QWidget& modal) {
            QWidget* field = modal.focusWidget();
            ASSERT_NE(qobject_cast<QLineEdit*>(field), nullptr);
            QGuiApplication::clipboard()->setText(QString::fromStdString(source));
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(field, Qt::Key_Return);
        },
        "QFileDialog");
    Press(Qt::CTRL | Qt::Key_O);
    EXPECT_EQ(PartText(ViewPart::kNotice), "Sett inn diskett nummer  1\nog klikk 'KLAR'!");
    testing::AnswerPicker(source);
    frame->action(ID_SPLIT_OUT)->trigger();
    QApplication::setActiveWindow(frame.get());  // as a window manager does after the picker
    EXPECT_EQ(CountTold(QAccessible::NameChanged, "KLAR"), 2);
    EXPECT_EQ(PartText(ViewPart::kModeLabel), "UT");
    EXPECT_EQ(PartText(ViewPart::kPath), QString::fromStdString(source));
    EXPECT_FALSE(Shown(ViewPart::kDiskBar));

    // (keys, notice, disk progress (empty: the panel is gone), file length, disk bar, total bar)
    const std::vector<std::tuple<QKeySequence, QString, QString, QString, int, int>> steps = {
        {Qt::CTRL | Qt::Key_K, "Sett inn diskett nummer  2\nog klikk 'KLAR' på nytt!",
         "Forløp diskett nr.  1.", "Fillengde :   98  kB.", 440, 284},
        {QKeySequence(Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space),
         "Kopiering UT til disketter fullført.", "", "", 0, 0},
    };
    int disk = 0;
    for (const auto& [keys, notice, diskProgress, fileLength, diskBar, totalBar] : steps) {
        Press(keys);
        testing::MoveFiles(driveDir, tmp / ("disk" + std::to_string(++disk)));
        EXPECT_EQ(PartText(ViewPart::kNotice), notice);
        EXPECT_EQ(PartText(ViewPart::kDiskProgress), diskProgress);
        EXPECT_EQ(PartText(ViewPart::kFileLength), fileLength);
        EXPECT_EQ(Shown(ViewPart::kDiskBar), !diskProgress.isEmpty());
        EXPECT_EQ(ValueOf(ViewPart::kDiskBar), diskBar);
        EXPECT_EQ(ValueOf(ViewPart::kTotalBar), totalBar);
        if (!diskProgress.isEmpty()) {
            EXPECT_EQ(LastValueTold(diskProgress), diskBar);
            EXPECT_EQ(LastValueTold("Totalt forløp."), totalBar);
        }
    }
    EXPECT_TRUE(std::filesystem::exists(tmp / "disk2/bilde_bmp_2"));
    EXPECT_EQ(CountTold(QAccessible::NameChanged, "KLAR"), 3);
    EXPECT_EQ(Part(ViewPart::kTotalBar)->valueInterface()->maximumValue(), 440);
}

TEST_F(WindowAccessibilityTest, ReasonIsReadFromTheStatusBar) {
    frame->action(ID_JOIN_IN)->trigger();  // no INFO.FIL on the disk
    EXPECT_EQ(Face(frame->statusBar())->text(QAccessible::Name),
              "Finner ikke INFO.FIL på disketten");
}

TEST_F(WindowAccessibilityTest, BarsAreToldAFewTimesASecondAtMost) {
    auto now = std::chrono::steady_clock::time_point{} + 1h;
    ViewAnnouncer& announcer = frame->view()->announcer();
    announcer.SetClock([&now] { return now; });
    ScreenText text = torvanik::TextOf(frame->view()->screen());
    text.panelShown = true;
    // (advance, bar 0, told so far); the flush tells the held 50 once.
    const std::vector<std::tuple<std::chrono::milliseconds, int, int>> steps = {
        {0ms, 10, 1}, {100ms, 20, 1}, {100ms, 30, 1}, {60ms, 40, 2}, {10ms, 50, 2},
    };
    for (const auto& [advance, bar, expected] : steps) {
        now += advance;
        text.bars[0] = bar;
        announcer.Update(text);
        EXPECT_EQ(CountTold(QAccessible::ValueChanged), expected) << bar;
    }
    for (int flush = 0; flush < 2; ++flush) {
        announcer.Flush();
        EXPECT_EQ(CountTold(QAccessible::ValueChanged), 3);
        EXPECT_EQ(told.back().value.toInt(), 50);
    }
}

}  // namespace
}  // namespace torvanik
