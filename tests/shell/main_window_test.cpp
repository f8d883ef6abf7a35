#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QEnterEvent>
#include <QExposeEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "engine/settings.h"
#include "engine/transfer_report.h"
#include "hooked_files.h"
#include "modal_script.h"
#include "picker_widgets.h"
#include "platform/file_system.h"
#include "res/command_ids.h"
#include "res/dialog_ids.h"
#include "screen/screen_painter.h"
#include "screen/screen_record.h"
#include "shell/main_window.h"
#include "shell/template_dialog.h"
#include "shell/transfer_view.h"
#include "support/temp_folder.h"

namespace torvanik {
namespace {

using testing::AnswerPicker;
using testing::HookedFiles;
using testing::TempFolder;
using testing::WhenModalShown;

constexpr std::uint64_t kFloppy = 1'457'664;

// Whether a popup menu opens while `step` runs (it is closed again).
bool OpensAPopup(const std::function<void()>& step) {
    bool opened = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            opened = true;
            popup->close();
        }
    });
    watch.start(5);
    step();
    QCoreApplication::processEvents();
    return opened;
}

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest() {
        setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1);
        setenv("XDG_STATE_HOME", (tmp / "state").c_str(), 1);
        std::filesystem::create_directories(driveDir);
        drives.Set(0, {driveDir, kFloppy});
        auto hooked = std::make_unique<HookedFiles>();
        files = hooked.get();
        frame = std::make_unique<MainWindow>(drives, "Torvanik", std::move(hooked));
        EXPECT_TRUE(frame->Create());
        frame->show();
        frame->ApplyOuterSize();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }

    void Trigger(int command) { frame->action(command)->trigger(); }
    const ScreenRecord& Screen() const { return frame->view()->screen(); }

    void SwapDisk(const std::string& out, const std::string& in) {
        testing::MoveFiles(driveDir, tmp / out);
        if (!in.empty()) {
            testing::MoveFiles(tmp / in, driveDir);
        }
    }

    // The top-left 500 x 312 pixels of the view's image.
    std::vector<std::uint32_t> Picture() const {
        const Surface& image = frame->view()->image();
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < 312; ++y) {
            for (int x = 0; x < 500; ++x) {
                pixels.push_back(image.pixels[static_cast<std::size_t>(y * image.width + x)]);
            }
        }
        return pixels;
    }

    // DrawScreen of the screen's record on a fresh image erased to the window colour.
    std::vector<std::uint32_t> Repainted() const {
        Surface surface(500, 312);
        std::fill(surface.pixels.begin(), surface.pixels.end(),
                  frame->view()->palette().color(QPalette::Base).rgb());
        Canvas canvas(surface);
        ScreenRecord record = Screen();
        DrawScreen(canvas, record);
        return surface.pixels;
    }

    // Rows top to bottom - 1, x 15 to 484, of an image of 500 x 312 pixels.
    static std::vector<std::uint32_t> Rows(const std::vector<std::uint32_t>& picture, int top,
                                           int bottom) {
        std::vector<std::uint32_t> rows;
        for (int y = top; y < bottom; ++y) {
            const auto row = picture.begin() + y * 500;
            rows.insert(rows.end(), row + 15, row + 485);
        }
        return rows;
    }

    TempFolder tmp;
    std::string driveDir = tmp / "a";
    DriveMap drives;
    HookedFiles* files = nullptr;
    std::unique_ptr<MainWindow> frame;
};

TEST_F(MainWindowTest, SplitsOntoThreeFloppiesAndJoinsBack) {
    const std::string source = tmp / "bilde.bmp";
    const auto bytes = testing::PatternBytes(3'000'000);
    testing::WriteBytes(source, bytes);
    FileSystem files;
    const FileTimes times{std::nullopt, {1'600'000'000, 5}, {1'500'000'000, 7}};
    ASSERT_TRUE(files.WriteTimes(source, times));

    AnswerPicker(source);
    Trigger(ID_SPLIT_OUT);
    EXPECT_EQ(Screen().lastNotice, NoticeOf(NoticeId::kInsertDisk, 1));
    std::vector<Notice> notices;
    QStringList messages;
    QObject::connect(frame->statusBar(), &QStatusBar::messageChanged,
                     [&](const QString& text) { messages << text; });
    for (int disk = 1; disk <= 3; ++disk) {
        Trigger(ID_DISK_READY);
        notices.push_back(Screen().lastNotice);
        SwapDisk("disk" + std::to_string(disk), "");
    }
    EXPECT_EQ(notices, (std::vector{NoticeOf(NoticeId::kInsertDiskAgain, 2),
                                    NoticeOf(NoticeId::kInsertDiskAgain, 3),
                                    NoticeOf(NoticeId::kSplitDoneSeveral, kNoNumber)}));
    // The message pane says while INFO.FIL and each chunk are read back from the disk, from
    // the first piece on; a chunk's check file is read back beside it.
    EXPECT_EQ(messages.count("Kontrollerer disketten ... 0 %"), 4)
        << messages.join(" | ").toStdString();
    EXPECT_EQ(frame->statusBar()->currentMessage(), "");
    // INFO.FIL and each check file take a 512-byte cluster.
    EXPECT_EQ(std::filesystem::file_size(tmp / "disk1/bilde_bmp_1"), kFloppy - 1024);
    EXPECT_EQ(std::filesystem::file_size(tmp / "disk2/bilde_bmp_2"), kFloppy - 512);
    EXPECT_EQ(std::filesystem::file_size(tmp / "disk3/bilde_bmp_3"),
              3'000'000 - 2 * kFloppy + 1536);

    const std::string joined = tmp / "bilde-inn.bmp";
    SwapDisk("empty", "disk1");
    AnswerPicker(joined);
    Trigger(ID_JOIN_IN);
    EXPECT_EQ(Screen().lastNotice, NoticeOf(NoticeId::kKeepDiskOne, kNoNumber));
    notices.clear();
    for (int disk = 1; disk <= 3; ++disk) {
        if (disk > 1) {
            SwapDisk("out" + std::to_string(disk), "disk" + std::to_string(disk));
        }
        Trigger(ID_DISK_READY);
        notices.push_back(Screen().lastNotice);
    }
    EXPECT_EQ(notices, (std::vector{NoticeOf(NoticeId::kInsertDiskAgain, 2),
                                    NoticeOf(NoticeId::kInsertDiskAgain, 3),
                                    NoticeOf(NoticeId::kJoinDoneSeveral, kNoNumber)}));
    struct stat info {};
    ASSERT_EQ(stat(joined.c_str(), &info), 0);
    EXPECT_EQ(info.st_atim.tv_sec, times.access.tv_sec);
    EXPECT_EQ(info.st_atim.tv_nsec, times.access.tv_nsec);
    EXPECT_EQ(info.st_mtim.tv_sec, times.write.tv_sec);
    EXPECT_EQ(info.st_mtim.tv_nsec, times.write.tv_nsec);
    EXPECT_EQ(testing::ReadBytes(joined), bytes);
}

TEST_F(MainWindowTest, ReasonStaysInTheMessagePaneUntilTheNextCommand) {
    Trigger(ID_JOIN_IN);
    EXPECT_EQ(Screen().lastNotice, NoticeOf(NoticeId::kInsertDiskOneForJoin, kNoNumber));
    EXPECT_EQ(frame->statusBar()->currentMessage(), "Finner ikke INFO.FIL på disketten");
    Trigger(ID_DISK_READY);
    EXPECT_EQ(frame->statusBar()->currentMessage(), "");
}

// The menu's parity disk goes to the next split, and is kept for the next start.
TEST_F(MainWindowTest, ParityDiskIsChosenInTheMenuAndKept) {
    QAction* parity = frame->action(ID_PARITY_DISK);
    EXPECT_FALSE(parity->isChecked());
    Trigger(ID_PARITY_DISK);
    EXPECT_EQ(drives.settings().parityDisks, 1);
    frame.reset();
    drives.settings().parityDisks = 0;
    frame = std::make_unique<MainWindow>(drives, "Torvanik");
    ASSERT_TRUE(frame->Create());
    EXPECT_TRUE(frame->action(ID_PARITY_DISK)->isChecked());
    EXPECT_EQ(drives.settings().parityDisks, 1);
    Trigger(ID_PARITY_DISK);
    EXPECT_EQ(drives.settings().parityDisks, 0);
    EXPECT_EQ(LoadParityDisks(2), 0);
}

TEST_F(MainWindowTest, MenuHasThePopupsItemsAndCommands) {
    struct Item {
        const char* label;
        int command;
        const char* key = "";
    };
    const std::vector<std::pair<QString, std::vector<Item>>> expected = {
        {"&Filmeny",
         {{"&\xC3\x85pne.", ID_SPLIT_OUT, "Ctrl+O"},
          {"&Velg destinasjon", ID_JOIN_IN, "Ctrl+S"},
          {"&Paritetsdisk", ID_PARITY_DISK},
          {"", 0},
          {"A&vslutt", ID_APP_EXIT}}},
        {"&Vis",
         {{"&Verkt\xC3\xB8ylinje", ID_VIEW_TOOLBAR}, {"&Status Linje", ID_VIEW_STATUS_BAR}}},
        {"&Hjelp", {{"&Info", ID_APP_ABOUT}, {"Hjelp", ID_SHOW_HELP}}},
    };
    const QList<QAction*> popups = frame->menuBar()->actions();
    ASSERT_EQ(popups.size(), 3);
    for (std::size_t p = 0; p < expected.size(); ++p) {
        QAction* popup = popups[static_cast<qsizetype>(p)];
        EXPECT_EQ(popup->text(), expected[p].first);
        const QList<QAction*> items = popup->menu()->actions();
        ASSERT_EQ(static_cast<std::size_t>(items.size()), expected[p].second.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            const Item& item = expected[p].second[static_cast<std::size_t>(i)];
            if (item.command == 0) {
                EXPECT_TRUE(items[i]->isSeparator());
                continue;
            }
            EXPECT_EQ(items[i], frame->action(item.command));
            EXPECT_EQ(items[i]->text(), QString::fromUtf8(item.label));
            EXPECT_TRUE(items[i]->isEnabled());
            EXPECT_EQ(items[i]->shortcut(), QKeySequence(item.key));
        }
    }
}

TEST_F(MainWindowTest, ToolbarHasItsSlotsAndStaysPut) {
    QToolBar* bar = frame->toolBar();
    EXPECT_FALSE(bar->isMovable());
    EXPECT_FALSE(bar->isFloatable());
    EXPECT_EQ(bar->iconSize(), QSize(70, 50));
    const std::vector<int> toolbarSlots = {
        ID_SPLIT_OUT, ID_JOIN_IN, 0, ID_DISK_READY, ID_CLEAN_DISK, ID_SELECT_DRIVE, ID_APP_ABOUT};
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(static_cast<std::size_t>(actions.size()), toolbarSlots.size());
    for (std::size_t i = 0; i < toolbarSlots.size(); ++i) {
        QAction* action = actions[static_cast<qsizetype>(i)];
        if (toolbarSlots[i] == 0) {
            EXPECT_TRUE(action->isSeparator());
        } else {
            EXPECT_EQ(action, frame->action(toolbarSlots[i]));
            EXPECT_TRUE(action->isEnabled());
            EXPECT_FALSE(action->icon().isNull());
        }
    }
}

TEST_F(MainWindowTest, VelgButtonShowsItsTooltipAndPrompt) {
    QAction* velg = frame->action(ID_SELECT_DRIVE);
    EXPECT_EQ(velg->toolTip(), "Velg alt. diskettstasjon (Ctrl+D)");
    QWidget* button = frame->toolBar()->widgetForAction(velg);
    ASSERT_NE(button, nullptr);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(button, &enter);
    EXPECT_EQ(frame->statusBar()->currentMessage(),
              "Velg alternativ diskettstasjon.   A:  er obligatorisk ");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(frame->statusBar()->currentMessage(), "");
    auto* idle = frame->statusBar()->findChild<QLabel*>();
    ASSERT_NE(idle, nullptr);
    EXPECT_EQ(idle->text(), "Klar");
}

TEST_F(MainWindowTest, DriveFieldTooltipAndStatusBarSayWhatTheDriveIs) {
    const auto* note = frame->statusBar()->findChild<QLabel*>("folderDrives");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), QString::fromStdString("Stasjon A: er mappen " + driveDir));

    QWidget* view = frame->view();
    const QPoint inField(300, 30);
    QHelpEvent help(QEvent::ToolTip, inField, view->mapToGlobal(inField));
    QApplication::sendEvent(view, &help);
    // The drive is looked up away from the window's thread; the tip comes with the answer.
    const QString expected = QString::fromStdString("A: = " + driveDir + ", 1 423 kB ledig");
    EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::text() == expected; }, 5000))
        << QToolTip::text().toStdString();
}

TEST_F(MainWindowTest, BarTogglesHideAndShowTheirBars) {
    QAction* toolbar = frame->action(ID_VIEW_TOOLBAR);
    QAction* status = frame->action(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(toolbar->isChecked());
    toolbar->trigger();
    EXPECT_FALSE(frame->toolBar()->isVisible());
    EXPECT_FALSE(toolbar->isChecked());
    toolbar->trigger();
    EXPECT_TRUE(frame->toolBar()->isVisible());
    status->trigger();
    EXPECT_FALSE(frame->statusBar()->isVisible());
    EXPECT_FALSE(status->isChecked());
}

TEST_F(MainWindowTest, OpensAt512By450AndKeepsTheSizeTheUserGivesIt) {
    EXPECT_EQ(frame->frameGeometry().size(), QSize(512, 450));
    frame->resize(700, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->size(), QSize(700, 600));
}

// The menu bar and the toolbar have no menu of their own; a double-click is one click.
TEST_F(MainWindowTest, RightClicksOnTheBarsAndDoubleClicksDoNothingMore) {
    for (QWidget* bar :
         {static_cast<QWidget*>(frame->menuBar()), static_cast<QWidget*>(frame->toolBar())}) {
        EXPECT_FALSE(OpensAPopup([bar] {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                                    bar->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(bar, &event);
        })) << bar->metaObject()->className();
    }

    Trigger(ID_JOIN_IN);  // no INFO.FIL on the disk: a notice to hide and show
    ASSERT_EQ(Screen().noticeToggle, NoticeToggle::kShown);
    QWidget* view = frame->view();
    const QPoint inNotice(200, 120);
    QTest::mousePress(view, Qt::LeftButton, {}, inNotice);
    QTest::mouseRelease(view, Qt::LeftButton, {}, inNotice);
    QTest::mouseDClick(view, Qt::LeftButton, {}, inNotice);
    QTest::mouseRelease(view, Qt::LeftButton, {}, inNotice);
    EXPECT_EQ(Screen().noticeToggle, NoticeToggle::kHidden);
}

// While a chunk is copied, a paint request of the window system is served, and a close
// request asks whether to stop the step: NEI lets it finish and keeps the window.
TEST_F(MainWindowTest, PaintsDuringACopyAndAsksBeforeClosing) {
    QApplication::setQuitOnLastWindowClosed(false);
    const std::string source = tmp / "bilde.bmp";
    testing::WriteBytes(source, testing::PatternBytes(1'000'000));
    AnswerPicker(source);
    Trigger(ID_SPLIT_OUT);
    Trigger(ID_SHOW_HELP);  // drawn at once; KLAR leaves parts of it on the screen

    struct PaintCounter : QObject {
        std::atomic<int> paints = 0;
        bool eventFilter(QObject* /*watched*/, QEvent* event) override {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    frame->view()->installEventFilter(&counter);
    int writes = 0;
    bool helpLeftOver = false;
    bool repaintedDuringCopy = false;
    std::atomic<bool> answered = false;
    files->beforeWrite = [&] {
        if (++writes == 3) {
            helpLeftOver = Rows(Picture(), 50, 78) != Rows(Repainted(), 50, 78);
            const int paintsBefore = counter.paints;
            QCoreApplication::postEvent(frame->windowHandle(),
                                        new QExposeEvent(QRegion(0, 0, 512, 450)));
            QCoreApplication::postEvent(frame->windowHandle(), new QCloseEvent);
            while (!answered || counter.paints == paintsBefore) {
                std::this_thread::yield();
            }
        } else if (writes > 3 && !repaintedDuringCopy) {
            repaintedDuringCopy = Rows(Picture(), 50, 78) == Rows(Repainted(), 50, 78);
        }
    };
    WhenModalShown([&](QWidget& question) {
        qobject_cast<QPushButton*>(FindControl(question, IDCANCEL))->click();
        answered = true;
    });
    Trigger(ID_DISK_READY);
    files->beforeWrite = nullptr;
    EXPECT_GT(writes, 8);
    EXPECT_TRUE(helpLeftOver);
    EXPECT_TRUE(repaintedDuringCopy);
    EXPECT_EQ(Screen().lastNotice, NoticeOf(NoticeId::kSplitDoneOne, kNoNumber));
    EXPECT_TRUE(frame->isVisible());
    QApplication::setQuitOnLastWindowClosed(true);
}

TEST_F(MainWindowTest, SystemRepaintDrawsThePictureFromTheStateAlone) {
    Trigger(ID_JOIN_IN);  // no INFO.FIL on the disk
    EXPECT_EQ(Screen().lastNotice, NoticeOf(NoticeId::kInsertDiskOneForJoin, kNoNumber));
    QCoreApplication::processEvents();
    EXPECT_NE(Picture(), Repainted());  // the notice is on the screen, not in the record

    // Uncovering the window.
    QExposeEvent uncover(QRegion(0, 0, 512, 450));
    QApplication::sendEvent(frame->windowHandle(), &uncover);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Picture() == Repainted(); }, 5000));

    Trigger(ID_JOIN_IN);
    EXPECT_NE(Picture(), Repainted());
    frame->resize(700, 600);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->view()->image().width > 600; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Picture() == Repainted(); }, 5000));
    const Surface& image = frame->view()->image();
    EXPECT_EQ(image.pixels[static_cast<std::size_t>(400 * image.width + 600)],
              frame->view()->palette().color(QPalette::Base).rgb());
}

}  // namespace
}  // namespace torvanik
