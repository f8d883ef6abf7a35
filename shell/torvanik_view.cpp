#include "shell/torvanik_view.h"

#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "engine/commands.h"
#include "engine/transfer_state.h"
#include "platform/drive_description.h"
#include "screen/screen_painter.h"
#include "screen/screen_regions.h"

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
      seams_{canvases_, questions, files, drives, nullptr} {
    transferState.viewState = 0;
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTorvanikView::OnSplitOut() {
    torvanik::OnSplitOut(seams_);
}

void CTorvanikView::OnJoinIn() {
    torvanik::OnJoinIn(seams_);
}

void CTorvanikView::OnDiskReady() {
    torvanik::OnDiskReady(seams_);
}

void CTorvanikView::OnCleanDisk() {
    torvanik::OnCleanDisk(seams_);
}

void CTorvanikView::OnSelectDrive() {
    torvanik::OnSelectDrive(seams_);
}

void CTorvanikView::OnShowHelp() {
    torvanik::OnShowHelp(seams_);
}

void CTorvanikView::OnDraw(Canvas& canvas) {
    DrawScreen(canvas);
}

void CTorvanikView::Present() {
    presenting_ = true;
    repaint();
    presenting_ = false;
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
