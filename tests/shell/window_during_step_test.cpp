#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QExposeEvent>
#include <QHelpEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QWindow>
#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include "modal_script.h"
#include "picker_widgets.h"
#include "platform/file_system.h"
#include "res/command_ids.h"
#include "res/dialog_ids.h"
#include "shell/main_window.h"
#include "shell/template_dialog.h"
#include "shell/transfer_view.h"
#include "support/temp_folder.h"

namespace torvanik {
namespace {

// The machine's file system, on which the chunk's write-back, flush and read-back each
// block once, for as long as `whileBlocked` takes (on the step's thread), and a drive's
// free space, looked up for its tooltip, as long as `whileFreeSpace` takes.
class BlockingFiles : public FileSystem {
  public:
    std::function<void(const std::string& call)> whileBlocked;
    std::function<void()> whileFreeSpace;

    Result<void> WaitForWriteBack(File& file, std::int64_t offset, std::int64_t length) override {
        Block("write-back");
        return FileSystem::WaitForWriteBack(file, offset, length);
    }
    Result<void> Commit(File& file) override {
        Block("fsync");
        return FileSystem::Commit(file);
    }
    Result<File> OpenForReadBack(const std::string& path, int flags) override {
        auto file = FileSystem::OpenForReadBack(path, flags);
        if (file && path.ends_with("film_avi_1")) {
            chunkReadBack_ = &file->handle();
        }
        return file;
    }
    // The chunk's read-back, not its check file's beside it.
    Result<std::int64_t> ReadAt(File& file, void* buffer, std::size_t size,
                                std::int64_t offset) override {
        if (&file.handle() == chunkReadBack_) {
            Block("read-back");
        }
        return FileSystem::ReadAt(file, buffer, size, offset);
    }
    Result<std::uint64_t> FreeBytes(const DiskInDrive& drive) override {
        if (whileFreeSpace) {
            whileFreeSpace();
        }
        return FileSystem::FreeBytes(drive);
    }

  private:
    // The chunk's calls: the write-back comes first, INFO.FIL has none.
    void Block(const std::string& call) {
        if ((call == "write-back" || blocked_.contains("write-back")) &&
            blocked_.insert(call).second && whileBlocked) {
            whileBlocked(call);
        }
    }
    std::set<std::string> blocked_;
    std::atomic<const File::Handle*> chunkReadBack_ = nullptr;
};

// Holds the thread that calls it until the window's thread has done what `done` tells.
void Await(const std::function<bool()>& done) {
    while (!done()) {
        std::this_thread::yield();
    }
}

// Counts the events of one type that reach an object.
class EventCounter : public QObject {
  public:
    EventCounter(QObject& watched, QEvent::Type type) : type_(type) {
        watched.installEventFilter(this);
    }
    std::atomic<int> count = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        count += event->type() == type_ ? 1 : 0;
        return false;
    }

  private:
    QEvent::Type type_;
};

// A window with a split of 1 MB armed on drive A:, a folder.
class WindowDuringStepTest : public ::testing::Test {
  protected:
    WindowDuringStepTest() {
        QApplication::setQuitOnLastWindowClosed(false);
        setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1);
        setenv("XDG_STATE_HOME", (tmp / "state").c_str(), 1);
        std::filesystem::create_directories(tmp / "a");
        drives.Set(0, {tmp / "a", std::nullopt});
        auto blocking = std::make_unique<BlockingFiles>();
        files = blocking.get();
        frame = std::make_unique<MainWindow>(drives, "Torvanik", std::move(blocking));
        EXPECT_TRUE(frame->Create());
        frame->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        const std::string source = tmp / "film.avi";
        testing::WriteBytes(source, testing::PatternBytes(1'000'000));
        testing::AnswerPicker(source);
        frame->action(ID_SPLIT_OUT)->trigger();
    }

    TransferView& view() const { return *frame->view(); }
    QWindow& window() const { return *frame->windowHandle(); }
    std::vector<std::string> DriveFiles() const { return testing::NamesIn(tmp / "a"); }

    testing::TempFolder tmp;
    DriveMap drives;
    BlockingFiles* files = nullptr;
    std::unique_ptr<MainWindow> frame;
};

// What the window did while one call of the step was blocked.
struct WhileBlocked {
    bool painted = false;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QString message;

    bool operator==(const WhileBlocked&) const = default;
};

void PrintTo(const WhileBlocked& w, std::ostream* os) {
    *os << "painted " << w.painted << ", cursor " << w.cursor << ", message \""
        << w.message.toStdString() << "\"";
}

TEST_F(WindowDuringStepTest, ServesTheWindowSystemWhileTheDiskIsSlowAndDropsInput) {
    ASSERT_EQ(view().screen().noticeToggle, NoticeToggle::kShown);
    QStringList messages;
    QObject::connect(frame->statusBar(), &QStatusBar::messageChanged,
                     [&messages](const QString& text) { messages << text; });
    EventCounter paints(view(), QEvent::Paint);
    const QPoint inNoticeBox = view().mapTo(frame.get(), QPoint(250, 120));
    QWidget& splitButton = *frame->toolBar()->widgetForAction(frame->action(ID_SPLIT_OUT));
    const QPoint onSplitButton = splitButton.mapTo(frame.get(), QPoint(10, 10));
    std::map<std::string, WhileBlocked> seen;
    files->whileBlocked = [&](const std::string& call) {
        const int paintsBefore = paints.count;
        std::atomic<bool> clicked = false;
        WhileBlocked& now = seen[call];
        // As the window system sends them: a paint request, then a click on the notice box,
        // one on UT and its key.
        QCoreApplication::postEvent(&window(), new QExposeEvent(QRegion(0, 0, 500, 400)));
        QMetaObject::invokeMethod(
            frame.get(),
            [&] {
                QTest::mouseClick(&window(), Qt::LeftButton, {}, inNoticeBox);
                QTest::mouseClick(&window(), Qt::LeftButton, {}, onSplitButton);
                QTest::keyClick(&window(), Qt::Key_O, Qt::ControlModifier);
                now.cursor = frame->cursor().shape();
                now.message = frame->statusBar()->currentMessage();
                clicked = true;
            },
            Qt::QueuedConnection);
        Await([&] { return clicked && paints.count > paintsBefore; });
        now.painted = true;
    };
    frame->action(ID_DISK_READY)->trigger();

    const WhileBlocked writing{true, Qt::WaitCursor, ""};
    const WhileBlocked checking{true, Qt::WaitCursor, "Kontrollerer disketten ... 0 %"};
    EXPECT_EQ(seen, (std::map<std::string, WhileBlocked>{
                        {"write-back", writing}, {"fsync", writing}, {"read-back", checking}}));
    // The check moved in pieces, and its message went when it ended.
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_GT(messages.filter("Kontrollerer disketten ...").size(), 2);
    EXPECT_TRUE(messages.contains("Kontrollerer disketten ... 100 %"));
    EXPECT_EQ(messages.back(), "");
    // The clicks and the key did nothing, then or after.
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(view().screen().noticeToggle, NoticeToggle::kShown);
    EXPECT_EQ(view().screen().lastNotice, NoticeOf(NoticeId::kSplitDoneOne, kNoNumber));
    EXPECT_EQ(frame->cursor().shape(), Qt::ArrowCursor);
}

// A close request while the chunk is written asks whether to stop: JA stops the step, leaves
// the disk as it was and closes the window; NEI lets the step finish and keeps the window.
TEST_F(WindowDuringStepTest, CloseDuringAStepAsksWhetherToStopIt) {
    for (const bool stop : {true, false}) {
        SCOPED_TRACE(stop ? "JA" : "NEI");
        std::atomic<bool> answered = false;
        testing::WhenModalShown([&](QWidget& question) {
            qobject_cast<QPushButton*>(FindControl(question, stop ? IDOK : IDCANCEL))->click();
            answered = true;
        });
        files->whileBlocked = [&](const std::string& call) {
            if (call != "write-back") {
                return;
            }
            QCoreApplication::postEvent(&window(), new QCloseEvent);
            Await([&] { return answered && (!stop || view().DiskStepStopping()); });
        };
        frame->action(ID_DISK_READY)->trigger();
        if (stop) {
            EXPECT_EQ(view().screen().lastNotice, NoticeOf(NoticeId::kInsertDiskAgain, 1));
            EXPECT_EQ(frame->statusBar()->currentMessage(), "Avbrutt");
            EXPECT_TRUE(DriveFiles().empty());
            EXPECT_FALSE(frame->isVisible());
            frame->show();
        } else {
            EXPECT_EQ(view().screen().lastNotice, NoticeOf(NoticeId::kSplitDoneOne, kNoNumber));
            EXPECT_TRUE(frame->isVisible());
        }
    }
}

// A quit of the program while the chunk is written stops the step, the disk as it was.
TEST_F(WindowDuringStepTest, QuitDuringAStepStopsIt) {
    files->whileBlocked = [&](const std::string& call) {
        if (call == "write-back") {
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
            Await([&] { return view().DiskStepStopping(); });
        }
    };
    frame->action(ID_DISK_READY)->trigger();
    EXPECT_EQ(view().screen().lastNotice, NoticeOf(NoticeId::kInsertDiskAgain, 1));
    EXPECT_TRUE(DriveFiles().empty());
    // The quit is spent, so that the event loops of the window run again.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    QCoreApplication::exec();
}

// The window goes while the drive field's tooltip is still looked up: the lookup ends
// before anything it uses goes.
TEST_F(WindowDuringStepTest, ClosesWithATooltipLookupInFlight) {
    std::atomic<bool> lookingUp = false;
    std::atomic<bool> windowGoing = false;
    files->whileFreeSpace = [&] {
        lookingUp = true;
        Await([&] { return windowGoing.load(); });
    };
    const QPoint inField(300, 30);
    QHelpEvent help(QEvent::ToolTip, inField, view().mapToGlobal(inField));
    QApplication::sendEvent(&view(), &help);
    Await([&] { return lookingUp.load(); });
    windowGoing = true;
    frame.reset();
}

}  // namespace
}  // namespace torvanik
