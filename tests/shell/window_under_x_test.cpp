#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QToolBar>
#include <chrono>
#include <filesystem>
#include <thread>

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

// The real window under an X server of its own, without a window manager.
namespace torvanik {
namespace {

class PressCounter : public QObject {
  public:
    int presses = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        presses += event->type() == QEvent::MouseButtonPress ? 1 : 0;
        return false;
    }
};

// The screen's pixel at a point of a widget, as 0xRRGGBB.
unsigned long ScreenPixel(Display* display, const QWidget& widget, QPoint at) {
    const QPoint global = widget.mapToGlobal(at);
    XImage* image = XGetImage(display, DefaultRootWindow(display), global.x(), global.y(), 1, 1,
                              AllPlanes, ZPixmap);
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

// While a chunk is copied, a window laid over the toolbar and taken away again leaves the
// toolbar drawn anew before the copy ends; a click on the view waits for the copy's end.
TEST(WindowUnderXTest, RepaintsAndHoldsClicksDuringACopy) {
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    testing::TempFolder tmp;
    setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1);
    setenv("XDG_STATE_HOME", (tmp / "state").c_str(), 1);
    std::filesystem::create_directories(tmp / "a");
    DriveMap drives;
    drives.Set(0, {tmp / "a", std::nullopt});
    auto hooked = std::make_unique<testing::HookedFiles>();
    testing::HookedFiles& files = *hooked;
    MainWindow frame(drives, "Torvanik", std::move(hooked));
    ASSERT_TRUE(frame.Create());
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const std::string source = tmp / "film.avi";
    testing::WriteBytes(source, testing::PatternBytes(4'000'000));
    testing::AnswerPicker(source);
    frame.action(ID_SPLIT_OUT)->trigger();
    QTest::qWait(200);

    QWidget* button = frame.toolBar()->widgetForAction(frame.action(ID_SPLIT_OUT));
    const QPoint inButton(10, button->height() / 2);
    const unsigned long buttonPixel = ScreenPixel(display, *button, inButton);
    constexpr unsigned long kCover = 0xFF0000;
    ASSERT_NE(buttonPixel, kCover);
    PressCounter clicks;
    frame.view()->installEventFilter(&clicks);
    XSetWindowAttributes red{};
    red.override_redirect = True;
    red.background_pixel = kCover;
    const QPoint origin = frame.toolBar()->mapToGlobal(QPoint(0, 0));
    const Window cover = XCreateWindow(display, DefaultRootWindow(display), origin.x(), origin.y(),
                                       300, 60, 0, CopyFromParent, InputOutput, CopyFromParent,
                                       CWOverrideRedirect | CWBackPixel, &red);
    int blocks = 0;
    bool covered = false;
    bool repaintedDuringCopy = false;
    int pressesDuringCopy = 0;
    files.beforeWrite = [&] {
        if (++blocks == 5) {
            XMapRaised(display, cover);
            XSync(display, False);
            covered = ScreenPixel(display, *button, inButton) == kCover;
        } else if (blocks == 6) {
            XUnmapWindow(display, cover);
            // A click on the view, through the server's own input path.
            const QPoint at = frame.view()->mapToGlobal(QPoint(250, 30));
            XTestFakeMotionEvent(display, -1, at.x(), at.y(), 0);
            XTestFakeButtonEvent(display, 1, True, 0);
            XTestFakeButtonEvent(display, 1, False, 0);
            XSync(display, False);
        } else if (blocks > 6 && !repaintedDuringCopy) {
            repaintedDuringCopy = ScreenPixel(display, *button, inButton) == buttonPixel;
        }
        pressesDuringCopy = clicks.presses;
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    };
    frame.action(ID_DISK_READY)->trigger();
    files.beforeWrite = nullptr;
    EXPECT_GT(blocks, 100);
    EXPECT_TRUE(covered);
    EXPECT_TRUE(repaintedDuringCopy);
    EXPECT_EQ(pressesDuringCopy, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks.presses == 1; }, 2000));  // kept, not lost
    XDestroyWindow(display, cover);
    XCloseDisplay(display);
}

}  // namespace
}  // namespace torvanik
