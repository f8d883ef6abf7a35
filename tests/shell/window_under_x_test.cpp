#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "hooked_files.h"
#include "picker_widgets.h"
#include "res/command_ids.h"
#include "shell/main_window.h"
#include "shell/transfer_view.h"
#include "support/temp_folder.h"

// Last: Xlib's macros (Bool, Status, None) clash with the toolkit's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

// The real window under an X server of its own, without a window manager. The hooks run
// on the step's thread, which uses the test's own connection to the server.
namespace torvanik {
namespace {

// The buttons pressed on a widget, in order.
class PressRecorder : public QObject {
  public:
    std::vector<Qt::MouseButton> presses;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            presses.push_back(static_cast<QMouseEvent*>(event)->button());
        }
        return false;
    }
};

// The screen's pixel at a point of the screen, as 0xRRGGBB.
unsigned long ScreenPixel(Display* display, QPoint at) {
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), at.x(), at.y(), 1, 1, AllPlanes, ZPixmap);
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

constexpr unsigned long kCover = 0xFF0000;

// Long enough for anything the window does under load; reached only by a failing test.
constexpr int kPatienceMs = 20'000;

// A red window of the server's own, laid over the screen at `origin`.
Window MakeCover(Display* display, QPoint origin) {
    XSetWindowAttributes red{};
    red.override_redirect = True;
    red.background_pixel = kCover;
    return XCreateWindow(display, DefaultRootWindow(display), origin.x(), origin.y(), 300, 60, 0,
                         CopyFromParent, InputOutput, CopyFromParent,
                         CWOverrideRedirect | CWBackPixel, &red);
}

class WindowUnderXTest : public ::testing::Test {
  protected:
    WindowUnderXTest() {
        display = XOpenDisplay(nullptr);
        setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1);
        setenv("XDG_STATE_HOME", (tmp / "state").c_str(), 1);
        std::filesystem::create_directories(tmp / "a");
        drives.Set(0, {tmp / "a", std::nullopt});
        auto hooked = std::make_unique<testing::HookedFiles>();
        files = hooked.get();
        frame = std::make_unique<MainWindow>(drives, "Torvanik", std::move(hooked));
    }
    ~WindowUnderXTest() override {
        frame.reset();
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }

    // Shows the window and arms a split of a file of `size` bytes.
    void ArmSplit(std::size_t size) {
        ASSERT_NE(display, nullptr);
        ASSERT_TRUE(frame->Create());
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        const std::string source = tmp / "film.avi";
        testing::WriteBytes(source, testing::PatternBytes(size));
        testing::AnswerPicker(source);
        frame->action(ID_SPLIT_OUT)->trigger();
    }

    // Waits until the screen shows at `at` (on the screen) what the window paints there:
    // the picker that lay over it is gone from that point.
    bool WaitUntilShown(QPoint at) {
        return QTest::qWaitFor(
            [&] {
                const QPoint inFrame = frame->mapFromGlobal(at);
                const QRgb painted = frame->grab(QRect(inFrame, QSize(1, 1))).toImage().pixel(0, 0);
                return ScreenPixel(display, at) == (painted & 0xFFFFFF);
            },
            kPatienceMs);
    }

    Display* display = nullptr;
    testing::TempFolder tmp;
    DriveMap drives;
    testing::HookedFiles* files = nullptr;
    std::unique_ptr<MainWindow> frame;
};

// While a chunk is copied, a window laid over the toolbar and taken away again leaves the
// toolbar drawn anew before the copy ends; a click on the view is dropped, not kept.
TEST_F(WindowUnderXTest, RepaintsAndDropsClicksDuringACopy) {
    ArmSplit(4'000'000);
    QWidget* button = frame->toolBar()->widgetForAction(frame->action(ID_SPLIT_OUT));
    const QPoint inButton = button->mapToGlobal(QPoint(10, button->height() / 2));
    const QPoint onView = frame->view()->mapToGlobal(QPoint(250, 30));
    ASSERT_TRUE(WaitUntilShown(inButton));
    const unsigned long buttonPixel = ScreenPixel(display, inButton);
    ASSERT_NE(buttonPixel, kCover);
    PressRecorder clicks;
    frame->view()->installEventFilter(&clicks);
    const Window cover = MakeCover(display, frame->toolBar()->mapToGlobal(QPoint(0, 0)));
    int writes = 0;
    bool covered = false;
    bool repaintedDuringCopy = false;
    files->beforeWrite = [&] {
        if (++writes == 5) {
            XMapRaised(display, cover);
            XSync(display, False);
            covered = ScreenPixel(display, inButton) == kCover;
        } else if (writes == 6) {
            XUnmapWindow(display, cover);
            // A click on the view, through the server's own input path.
            XTestFakeMotionEvent(display, -1, onView.x(), onView.y(), 0);
            XTestFakeButtonEvent(display, 1, True, 0);
            XTestFakeButtonEvent(display, 1, False, 0);
            XSync(display, False);
            // The copy goes on once the window has drawn the toolbar anew.
            while (ScreenPixel(display, inButton) != buttonPixel) {
                std::this_thread::yield();
            }
            repaintedDuringCopy = true;
        }
    };
    frame->action(ID_DISK_READY)->trigger();
    files->beforeWrite = nullptr;
    EXPECT_GT(writes, 12);
    EXPECT_TRUE(covered);
    EXPECT_TRUE(repaintedDuringCopy);
    // A middle click after the copy reaches the view after any click kept from before it.
    XTestFakeButtonEvent(display, 2, True, 0);
    XTestFakeButtonEvent(display, 2, False, 0);
    XSync(display, False);
    EXPECT_TRUE(QTest::qWaitFor([&clicks] { return !clicks.presses.empty(); }, kPatienceMs));
    EXPECT_EQ(clicks.presses, std::vector<Qt::MouseButton>{Qt::MiddleButton});
    XDestroyWindow(display, cover);
}

// While a slow disk flushes the chunk, a window laid over the view and taken away again
// leaves the view drawn anew before the flush ends.
TEST_F(WindowUnderXTest, RepaintsTheViewWhileTheChunkIsFlushed) {
    ArmSplit(400'000);
    const QPoint inView = frame->view()->mapToGlobal(QPoint(60, 40));
    ASSERT_TRUE(WaitUntilShown(inView));
    const unsigned long viewPixel = ScreenPixel(display, inView);
    ASSERT_NE(viewPixel, kCover);
    const Window cover = MakeCover(display, frame->view()->mapToGlobal(QPoint(30, 20)));
    bool copied = false;
    bool covered = false;
    bool repaintedDuringFlush = false;
    files->beforeWrite = [&copied] { copied = true; };
    files->beforeCommit = [&] {
        if (!copied || covered) {
            return;  // INFO.FIL's flush, or the chunk's done
        }
        XMapRaised(display, cover);
        XSync(display, False);
        covered = ScreenPixel(display, inView) == kCover;
        XUnmapWindow(display, cover);
        XSync(display, False);
        // A disk that takes its time: the flush ends once the view is back.
        while (ScreenPixel(display, inView) != viewPixel) {
            std::this_thread::yield();
        }
        repaintedDuringFlush = true;
    };
    frame->action(ID_DISK_READY)->trigger();
    files->beforeWrite = nullptr;
    files->beforeCommit = nullptr;
    EXPECT_TRUE(covered);
    EXPECT_TRUE(repaintedDuringFlush);
    XDestroyWindow(display, cover);
}

}  // namespace
}  // namespace torvanik
