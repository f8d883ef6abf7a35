#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QExposeEvent>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include "picker_widgets.h"
#include "platform/file_system.h"
#include "res/command_ids.h"
#include "shell/main_window.h"
#include "shell/transfer_view.h"
#include "support/temp_folder.h"

namespace torvanik {
namespace {

using namespace std::chrono_literals;

// The machine's file system, on which the chunk's write-back, flush and read-back each
// block once, for as long as `whileBlocked` takes (on the step's thread).
class BlockingFiles : public FileSystem {
  public:
    std::function<void(const std::string& call)> whileBlocked;

    bool WaitForWriteBack(std::FILE* stream, std::int64_t offset, std::int64_t length) override {
        Block("write-back");
        return FileSystem::WaitForWriteBack(stream, offset, length);
    }
    bool Commit(std::FILE* stream) override {
        Block("fsync");
        return FileSystem::Commit(stream);
    }
    std::int64_t ReadAt(int fd, void* buffer, std::size_t size, std::int64_t offset) override {
        Block("read-back");
        return FileSystem::ReadAt(fd, buffer, size, offset);
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
};

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

// What the window did while one call of the step was blocked.
struct WhileBlocked {
    bool painted = false;
    bool closeAnswered = false;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QString message;

    bool operator==(const WhileBlocked&) const = default;
};

void PrintTo(const WhileBlocked& w, std::ostream* os) {
    *os << "painted " << w.painted << ", close answered " << w.closeAnswered << ", cursor "
        << w.cursor << ", message \"" << w.message.toStdString() << "\"";
}

TEST(WindowDuringStepTest, ServesTheWindowSystemWhileTheDiskIsSlowAndDropsInput) {
    testing::TempFolder tmp;
    setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1);
    std::filesystem::create_directories(tmp / "a");
    DriveMap drives;
    drives.Set(0, {tmp / "a", std::nullopt});
    auto blocking = std::make_unique<BlockingFiles>();
    BlockingFiles& files = *blocking;
    MainWindow frame(drives, "Torvanik", std::move(blocking));
    ASSERT_TRUE(frame.Create());
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    TransferView& view = *frame.view();
    const std::string source = tmp / "film.avi";
    testing::WriteBytes(source, testing::PatternBytes(1'000'000));
    testing::AnswerPicker(source);
    frame.action(ID_SPLIT_OUT)->trigger();
    ASSERT_EQ(view.screen().noticeToggle, NoticeToggle::kShown);

    QStringList messages;
    QObject::connect(frame.statusBar(), &QStatusBar::messageChanged,
                     [&messages](const QString& text) { messages << text; });
    EventCounter paints(view, QEvent::Paint);
    EventCounter closes(frame, QEvent::Close);
    QWindow& window = *frame.windowHandle();
    const QPoint inNoticeBox = view.mapTo(&frame, QPoint(250, 120));
    QWidget& splitButton = *frame.toolBar()->widgetForAction(frame.action(ID_SPLIT_OUT));
    const QPoint onSplitButton = splitButton.mapTo(&frame, QPoint(10, 10));
    std::map<std::string, WhileBlocked> seen;
    files.whileBlocked = [&](const std::string& call) {
        const int paintsBefore = paints.count;
        const int closesBefore = closes.count;
        const auto clicked = std::make_shared<std::atomic<bool>>(false);
        WhileBlocked& now = seen[call];
        // As the window system sends them: a paint request and a close request, then a
        // click on the notice box, one on UT and its key.
        QCoreApplication::postEvent(&window, new QExposeEvent(QRegion(0, 0, 500, 400)));
        QCoreApplication::postEvent(&window, new QCloseEvent);
        QMetaObject::invokeMethod(
            &frame,
            [&, clicked] {
                QTest::mouseClick(&window, Qt::LeftButton, {}, inNoticeBox);
                QTest::mouseClick(&window, Qt::LeftButton, {}, onSplitButton);
                QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
                now.cursor = frame.cursor().shape();
                now.message = frame.statusBar()->currentMessage();
                *clicked = true;
            },
            Qt::QueuedConnection);
        const auto giveUp = std::chrono::steady_clock::now() + 5s;
        while (!(*clicked && paints.count > paintsBefore && closes.count > closesBefore) &&
               std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(10ms);
        }
        now.painted = paints.count > paintsBefore;
        now.closeAnswered = closes.count > closesBefore;
        std::this_thread::sleep_for(300ms);
    };
    frame.action(ID_DISK_READY)->trigger();

    const WhileBlocked writing{true, true, Qt::WaitCursor, ""};
    const WhileBlocked checking{true, true, Qt::WaitCursor, "Kontrollerer disketten ... 0 %"};
    EXPECT_EQ(seen, (std::map<std::string, WhileBlocked>{
                        {"write-back", writing}, {"fsync", writing}, {"read-back", checking}}));
    // The check moved in pieces, and its message went when it ended.
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_GT(messages.filter("Kontrollerer disketten ...").size(), 2);
    EXPECT_TRUE(messages.contains("Kontrollerer disketten ... 100 %"));
    EXPECT_EQ(messages.back(), "");
    // The clicks and the key did nothing, then or after; the close was carried out.
    QTest::qWait(200);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(view.screen().noticeToggle, NoticeToggle::kShown);
    EXPECT_EQ(view.screen().lastNotice, NoticeOf(NoticeId::kSplitDoneOne, kNoNumber));
    EXPECT_EQ(frame.cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(frame.isVisible());
}

}  // namespace
}  // namespace torvanik
