#include "shell/torvanik_view.h"

#include <QImage>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>

#include "engine/commands.h"
#include "engine/transfer_state.h"
#include "screen/screen_painter.h"

namespace torvanik {
namespace {

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
      seams_{canvases_, questions, files, drives, &reasons_} {
    transferState.viewState = 0;
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTorvanikView::OnSplitOut() {
    reasons_.Clear();
    torvanik::OnSplitOut(seams_);
}

void CTorvanikView::OnJoinIn() {
    reasons_.Clear();
    torvanik::OnJoinIn(seams_);
}

void CTorvanikView::OnDiskReady() {
    reasons_.Clear();
    torvanik::OnDiskReady(seams_);
}

void CTorvanikView::OnCleanDisk() {
    reasons_.Clear();
    torvanik::OnCleanDisk(seams_);
}

void CTorvanikView::OnSelectDrive() {
    reasons_.Clear();
    torvanik::OnSelectDrive(seams_);
}

void CTorvanikView::OnShowHelp() {
    reasons_.Clear();
    torvanik::OnShowHelp(seams_);
}

void CTorvanikView::ReasonPane::ReasonGiven(const std::string& line) {
    if (auto* frame = qobject_cast<QMainWindow*>(view_->window())) {
        frame->statusBar()->showMessage(QString::fromStdString(line));
    }
}

// The reason of the last command stays until the next one.
void CTorvanikView::ReasonPane::Clear() {
    if (auto* frame = qobject_cast<QMainWindow*>(view_->window())) {
        frame->statusBar()->clearMessage();
    }
}

void CTorvanikView::OnDraw(Canvas& canvas) {
    DrawScreen(canvas);
}

void CTorvanikView::Present() {
    presenting_ = true;
    repaint();
    presenting_ = false;
}

void CTorvanikView::paintEvent(QPaintEvent* /*event*/) {
    if (!presenting_) {
        // A paint request of the window system: erase to the window colour, then the
        // picture from the state alone.
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
}

void CTorvanikView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        OnLButtonDown(seams_, static_cast<unsigned>(event->modifiers()), at.x(), at.y());
    }
}

}  // namespace torvanik
