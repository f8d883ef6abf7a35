#include "shell/torvanik_view.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QImage>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QToolTip>
#include <QWindow>

#include "engine/commands.h"
#include "engine/transfer_state.h"
#include "platform/drive_description.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "screen/screen_painter.h"
#include "screen/screen_regions.h"

namespace torvanik {
namespace {

// How often a running command lets the window paint and answer the window system.
constexpr qint64 kEventsEveryMs = 50;

QImage ImageOf(Surface& surface) {
    return QImage(reinterpret_cast<uchar*>(surface.pixels.data()), surface.width, surface.height,
                  surface.width * 4, QImage::Format_RGB32);
}

}  // namespace

CTorvanikView::CTorvanikView(QWidget* parent, Questions& questions, FileSystem& files,
                             const DriveMap& drives)
    : QWidget(parent),
      surface_(1, 1),
      canvases_{surface_, [this] { Present(); }},
      seams_{canvases_, questions, files, drives, this} {
    transferState.viewState = 0;
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTorvanikView::OnSplitOut() {
    RunCommand(&torvanik::OnSplitOut);
}

void CTorvanikView::OnJoinIn() {
    RunCommand(&torvanik::OnJoinIn);
}

void CTorvanikView::OnDiskReady() {
    RunCommand(&torvanik::OnDiskReady);
}

void CTorvanikView::OnCleanDisk() {
    RunCommand(&torvanik::OnCleanDisk);
}

void CTorvanikView::OnSelectDrive() {
    RunCommand(&torvanik::OnSelectDrive);
}

void CTorvanikView::OnShowHelp() {
    RunCommand(&torvanik::OnShowHelp);
}

void CTorvanikView::RunCommand(void (*command)(const EngineSeams&)) {
    if (QStatusBar* bar = StatusBar()) {
        bar->clearMessage();
    }
    inCommand_ = true;
    sinceEvents_.start();
    command(seams_);
    inCommand_ = false;
    if (commandEnded_) {
        commandEnded_();
    }
}

void CTorvanikView::BlockCopied(std::int64_t /*doneInChunk*/, std::int64_t /*chunkSize*/,
                                std::int64_t /*done*/, std::int64_t /*total*/) {
    PumpEvents();
}

void CTorvanikView::PumpEvents() {
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventsEveryMs) {
        return;
    }
    // Paint and window-system events only: clicks and keys wait for the command's end.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceEvents_.start();
}

QStatusBar* CTorvanikView::StatusBar() const {
    auto* frame = qobject_cast<QMainWindow*>(window());
    return frame != nullptr ? frame->statusBar() : nullptr;
}

// The reason of a failure stays in the status bar's message pane until the next command.
void CTorvanikView::ReasonGiven(const std::string& line) {
    if (QStatusBar* bar = StatusBar()) {
        bar->showMessage(QString::fromStdString(line));
    }
}

// While a disk is read back, the notice stays and the message pane says so.
void CTorvanikView::CheckStarted(std::int64_t /*length*/) {
    if (QStatusBar* bar = StatusBar()) {
        const std::string_view text = LoadString(IDS_CHECKING_DISK);
        bar->showMessage(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        // The check runs on the window's one thread: the pane is painted now, not after it.
        bar->repaint();
    }
}

void CTorvanikView::CheckProgress(std::int64_t /*checked*/, std::int64_t /*length*/) {
    PumpEvents();
}

void CTorvanikView::CheckEnded() {
    if (QStatusBar* bar = StatusBar()) {
        bar->clearMessage();
    }
}

void CTorvanikView::OnDraw(Canvas& canvas) {
    DrawScreen(canvas);
}

// What was drawn reaches the screen with the next paint, which shows the image as it is.
void CTorvanikView::Present() {
    update();
}

void CTorvanikView::RepaintFromState() {
    fromState_ = true;
    update();
}

bool CTorvanikView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
        RepaintFromState();
    }
    return false;
}

bool CTorvanikView::event(QEvent* event) {
    const QRect field(QPoint(kDriveFieldOutline.left, kDriveFieldOutline.top),
                      QPoint(kDriveFieldOutline.right - 1, kDriveFieldOutline.bottom - 1));
    if (event->type() != QEvent::ToolTip ||
        !field.contains(static_cast<QHelpEvent*>(event)->pos())) {
        return QWidget::event(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    // The drive field says what its letter stands for right now; the tip goes when the
    // pointer leaves the field.
    const std::string text = DescribeDrive(seams_.drives, seams_.files, transferState.driveIndex);
    QToolTip::showText(help->globalPos(), QString::fromStdString(text), this, field);
    return true;
}

void CTorvanikView::paintEvent(QPaintEvent* /*event*/) {
    if (fromState_) {
        // A paint request of the window system: erase to the window colour, then the
        // picture from the state alone.
        fromState_ = false;
        std::fill(surface_.pixels.begin(), surface_.pixels.end(),
                  palette().color(QPalette::Base).rgb());
        Canvas canvas(surface_);
        OnDraw(canvas);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, ImageOf(surface_));
}

void CTorvanikView::resizeEvent(QResizeEvent* /*event*/) {
    surface_ = Surface(std::max(width(), 1), std::max(height(), 1));
    RepaintFromState();
}

// Uncovering and restoring reach the window, not the view: the view watches them there.
void CTorvanikView::showEvent(QShowEvent* /*event*/) {
    if (QWindow* handle = window()->windowHandle()) {
        handle->installEventFilter(this);
    }
    RepaintFromState();
}

void CTorvanikView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        OnLButtonDown(seams_, static_cast<unsigned>(event->modifiers()), at.x(), at.y());
    }
}

// The second press of a double-click is a double-click message of its own, which the view
// does not handle: a double-click counts as one click.
void CTorvanikView::mouseDoubleClickEvent(QMouseEvent* /*event*/) {}

}  // namespace torvanik
