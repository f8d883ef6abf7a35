#include "shell/transfer_view.h"

#include <QHelpEvent>
#include <QImage>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QToolTip>
#include <QWindow>

#include "engine/commands.h"
#include "platform/drive_description.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "screen/screen_regions.h"
#include "screen/screen_text.h"
#include "shell/input_hold.h"

namespace torvanik {
namespace {

// A screen reader is told of the bars' growth at most this often.
constexpr std::chrono::milliseconds kBarAnnouncementInterval{250};

QImage ImageOf(Surface& surface) {
    return QImage(reinterpret_cast<uchar*>(surface.pixels.data()), surface.width, surface.height,
                  surface.width * 4, QImage::Format_RGB32);
}

}  // namespace

TransferView::TransferView(QWidget* parent, Transfer& transfer, DriveChoice& drive,
                           Questions& questions, FileSystem& files, const DriveMap& drives,
                           const RecordStore* records)
    : QWidget(parent),
      transfer_(transfer),
      surface_(1, 1),
      presenter_(*this, CanvasSource(surface_, [this] { Present(); })),
      reportsFromRunner_(*this, presenter_),
      announcer_(*this, kBarAnnouncementInterval),
      seams_{questions, files, drives, drive, &reportsFromRunner_, records, &stop_} {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // First in the focus chain: the window opens with the view in focus, Tab goes on to
    // the toolbar.
    setFocusPolicy(Qt::StrongFocus);
    InstallViewAccessibility();
    // Told at once: the record holds the facts before anything else is shown.
    ReportFacts(transfer_, {questions, files, drives, drive, &presenter_});
}

void TransferView::OnSplitOut() {
    RunCommand([this] { torvanik::OnSplitOut(transfer_, seams_); });
}

void TransferView::OnJoinIn() {
    RunCommand([this] { torvanik::OnJoinIn(transfer_, seams_); });
}

void TransferView::OnDiskReady() {
    RunCommand([this] { torvanik::OnDiskReady(transfer_, seams_); },
               transfer_.armed != TransferKind::kNone);
}

void TransferView::OnCleanDisk() {
    RunCommand([this] { torvanik::OnCleanDisk(transfer_, seams_); });
}

void TransferView::OnSelectDrive() {
    RunCommand([this] { torvanik::OnSelectDrive(transfer_, seams_); });
}

// Hjelp draws on the window's thread alone and waits on nothing.
void TransferView::OnShowHelp() {
    if (inCommand_) {
        return;
    }
    ClearMessage();
    const Presenter::Command drawing(presenter_);
    presenter_.ShowHelp();
}

void TransferView::RunCommand(std::function<void()> command, bool diskStep) {
    if (inCommand_) {
        return;
    }
    ClearMessage();
    inCommand_ = true;
    diskStep_ = diskStep;
    stop_.Clear();
    {
        const InputHold hold(*window());
        const Presenter::Command drawing(presenter_);
        // A quit of the program stops the step, as a stop asked for in the window would.
        runner_.RunAndWait(std::move(command), [this] { stop_.Request(); });
    }
    inCommand_ = false;
    diskStep_ = false;
    announcer_.Flush();
    if (commandEnded_) {
        commandEnded_();
    }
}

void TransferView::ClearMessage() {
    if (QStatusBar* bar = StatusBar()) {
        bar->clearMessage();
    }
}

QStatusBar* TransferView::StatusBar() const {
    auto* frame = qobject_cast<QMainWindow*>(window());
    return frame != nullptr ? frame->statusBar() : nullptr;
}

// A notice the engine shows again is told again, though the box says what it said.
void TransferView::WindowPresenter::NoticeShown(NoticeId id, int number) {
    view_.announcer_.NoticeComing();
    Presenter::NoticeShown(id, number);
}

// The reason of a failure stays in the status bar's message pane until the next command.
void TransferView::WindowPresenter::ReasonGiven(const std::string& line) {
    if (QStatusBar* bar = view_.StatusBar()) {
        bar->showMessage(QString::fromStdString(line));
    }
}

// While a disk is read back, the notice stays and the message pane says how far the check
// has come: "Kontrollerer disketten ... 45 %".
void TransferView::WindowPresenter::CheckStarted(std::int64_t length) {
    percentShown_ = -1;
    ShowChecked(0, length);
}

void TransferView::WindowPresenter::CheckProgress(std::int64_t checked, std::int64_t length) {
    ShowChecked(checked, length);
}

void TransferView::WindowPresenter::ShowChecked(std::int64_t checked, std::int64_t length) {
    const int percent = length > 0 ? static_cast<int>(checked * 100 / length) : 100;
    QStatusBar* bar = view_.StatusBar();
    if (bar == nullptr || percent == percentShown_) {
        return;
    }
    percentShown_ = percent;
    const std::string_view text = LoadString(IDS_CHECKING_DISK);
    bar->showMessage(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())) +
                     QString(" %1 %").arg(percent));
}

void TransferView::WindowPresenter::CheckEnded() {
    view_.ClearMessage();
}

// What was drawn reaches the screen with the next paint, which shows the image as it is.
void TransferView::Present() {
    update();
    announcer_.Update(TextOf(screen()));
}

void TransferView::ShowRecord(const ScreenRecord& record) {
    presenter_.record() = record;
    RepaintFromRecord();
}

void TransferView::RepaintFromRecord() {
    fromRecord_ = true;
    update();
}

bool TransferView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
        RepaintFromRecord();
    }
    return false;
}

bool TransferView::event(QEvent* event) {
    const QRect field(QPoint(kDriveFieldOutline.left, kDriveFieldOutline.top),
                      QPoint(kDriveFieldOutline.right - 1, kDriveFieldOutline.bottom - 1));
    if (event->type() != QEvent::ToolTip ||
        !field.contains(static_cast<QHelpEvent*>(event)->pos())) {
        return QWidget::event(event);
    }
    // The drive field says what its letter stands for right now: found on the runner's
    // thread, since the drive may be slow to answer. The tip goes when the pointer leaves.
    const QPoint at = static_cast<QHelpEvent*>(event)->globalPos();
    runner_.Post([this, at, field, index = seams_.drive.driveIndex] {
        const std::string text = DescribeDrive(seams_.drives, seams_.files, index);
        QMetaObject::invokeMethod(
            this,
            [this, at, field, text] {
                QToolTip::showText(at, QString::fromStdString(text), this, field);
            },
            Qt::QueuedConnection);
    });
    return true;
}

void TransferView::paintEvent(QPaintEvent* /*event*/) {
    if (fromRecord_) {
        // A paint request of the window system: erase to the window colour, then the
        // picture from the record alone.
        fromRecord_ = false;
        std::fill(surface_.pixels.begin(), surface_.pixels.end(),
                  palette().color(QPalette::Base).rgb());
        Canvas canvas(surface_);
        presenter_.Paint(canvas);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, ImageOf(surface_));
}

void TransferView::resizeEvent(QResizeEvent* /*event*/) {
    surface_ = Surface(std::max(width(), 1), std::max(height(), 1));
    RepaintFromRecord();
}

// Uncovering and restoring reach the window, not the view: the view watches them there.
void TransferView::showEvent(QShowEvent* /*event*/) {
    if (QWindow* handle = window()->windowHandle()) {
        handle->installEventFilter(this);
    }
    RepaintFromRecord();
}

void TransferView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        const Presenter::Command drawing(presenter_);
        presenter_.Click(at.x(), at.y());
    }
}

// The second press of a double-click is a double-click message of its own, which the view
// does not handle: a double-click counts as one click.
void TransferView::mouseDoubleClickEvent(QMouseEvent* /*event*/) {}

}  // namespace torvanik
