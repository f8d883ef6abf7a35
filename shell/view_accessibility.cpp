#include "shell/view_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>
#include <array>
#include <mutex>

#include "screen/frame_rects.h"
#include "screen/panel_texts.h"
#include "screen/screen_regions.h"
#include "shell/qt_text.h"
#include "shell/toolbar_accessibility.h"
#include "shell/transfer_view.h"

namespace torvanik {
namespace {

QString Lines(const std::vector<std::string>& lines) {
    QStringList unicode;
    for (const std::string& line : lines) {
        unicode << QStringFromCp1252(line);
    }
    return unicode.join('\n');
}

QRect RectOf(const Region& region) {
    return QRect(QPoint(region.left, region.top), QPoint(region.right - 1, region.bottom - 1));
}

QRect RectOf(const FrameRect& frame) {
    return RectOf(Region{frame.left, frame.top, frame.right, frame.bottom});
}

// A panel text reaches to the next text on its row, or to the panel's edge.
QRect RectOf(const PanelText& text, int right) {
    return QRect(QPoint(text.x, text.y), QPoint(right - 1, text.y + 19));
}

// What a part shows: its text (lines apart by line feeds), its value for a bar, where it lies
// in the view, and whether the picture shows it now.
struct PartShown {
    QAccessible::Role role = QAccessible::StaticText;
    QString text;
    int value = -1;
    QRect rect;
    bool shown = false;

    bool operator==(const PartShown&) const = default;
};

PartShown TextPart(QString text, QRect rect) {
    const bool shown = !text.isEmpty();
    return {QAccessible::StaticText, std::move(text), -1, rect, shown};
}

PartShown BarPart(const std::string& label, int value, const ScreenText& text,
                  const FrameRect& frame) {
    return {QAccessible::ProgressBar, QStringFromCp1252(label), value, RectOf(frame),
            text.panelShown};
}

PartShown Describe(ViewPart part, const ScreenText& text) {
    const PanelLines& panel = text.panel;
    const int panelRight = FrameRects[0].right - 11;
    switch (part) {
        case ViewPart::kModeLabel:
            return TextPart(QStringFromCp1252(text.modeLabel), QRect(30, 20, 60, 20));
        case ViewPart::kDriveField:
            return TextPart(QStringFromCp1252(text.driveLabel + " " + text.driveRoot),
                            RectOf(kDriveFieldOutline));
        case ViewPart::kIntroduction:
            return TextPart(Lines(text.introduction), QRect(20, 61, 460, 80));
        case ViewPart::kAbout:
            return TextPart(Lines(text.about), QRect(60, 175, 400, 110));
        case ViewPart::kHelp:
            return TextPart(Lines(text.help), RectOf(kHelpBoxRegion));
        case ViewPart::kNotice:
            return TextPart(Lines(text.notice), RectOf(FrameRects[4]));
        case ViewPart::kDiskProgress:
            return TextPart(QStringFromCp1252(panel.diskProgress),
                            RectOf(PanelTexts.diskProgress, PanelTexts.freeSpace.x));
        case ViewPart::kFreeSpace:
            return TextPart(QStringFromCp1252(panel.freeSpace),
                            RectOf(PanelTexts.freeSpace, panelRight));
        case ViewPart::kDiskBar:
            return BarPart(panel.diskProgress, text.bars[0], text, FrameRects[1]);
        case ViewPart::kTotalProgress:
            return TextPart(QStringFromCp1252(panel.totalProgress),
                            RectOf(PanelTexts.totalProgress, PanelTexts.fileLength.x));
        case ViewPart::kFileLength:
            return TextPart(QStringFromCp1252(panel.fileLength),
                            RectOf(PanelTexts.fileLength, panelRight));
        case ViewPart::kTotalBar:
            return BarPart(panel.totalProgress, text.bars[1], text, FrameRects[2]);
        case ViewPart::kPath:
            return TextPart(QStringFromCp1252(text.path), RectOf(kPathStripRegion));
    }
    return {};
}

ScreenText TextOfView(const QWidget* view) {
    const auto* transferView = dynamic_cast<const TransferView*>(view);
    return transferView != nullptr ? TextOf(transferView->screen()) : ScreenText{};
}

// One part of the picture: a text, or a bar with its value.
class PartInterface : public QAccessibleInterface,
                      public QAccessibleTextInterface,
                      public QAccessibleValueInterface {
  public:
    PartInterface(QWidget* view, ViewPart part) : view_(view), part_(part) {}

    bool isValid() const override { return view_ != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return view_ != nullptr ? view_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(view_);
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }

    // A text's name is its lines on one line; a bar's is its label.
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? Shown().text.replace('\n', ' ') : QString();
    }
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}
    QRect rect() const override {
        if (view_ == nullptr) {
            return {};
        }
        const QRect local = Shown().rect;
        return QRect(view_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return Shown().role; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !Shown().shown;
        state.readOnly = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        const bool bar = Shown().role == QAccessible::ProgressBar;
        if (type == QAccessible::TextInterface && !bar) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::ValueInterface && bar) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return nullptr;
    }

    // The text as the picture shows it; nothing of it can be selected or moved to.
    QString text(int startOffset, int endOffset) const override {
        return Shown().text.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Shown().text.size()); }
    void selection(int /*index*/, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
    void removeSelection(int /*index*/) override {}
    void setSelection(int /*index*/, int /*startOffset*/, int /*endOffset*/) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    QRect characterRect(int /*offset*/) const override { return {}; }
    int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    // A bar's length in the bar's own steps.
    QVariant currentValue() const override { return Shown().value; }
    void setCurrentValue(const QVariant& /*value*/) override {}
    QVariant maximumValue() const override { return kProgressSteps; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

  private:
    PartShown Shown() const { return Describe(part_, TextOfView(view_)); }

    QPointer<QWidget> view_;
    ViewPart part_;
};

// The view: the parts are its children; its description is the notice, so that a reader
// with the view in focus hears a new notice.
class ViewInterface : public QAccessibleWidget {
  public:
    explicit ViewInterface(QWidget* view) : QAccessibleWidget(view, QAccessible::Client) {}
    ~ViewInterface() override {
        for (const QAccessible::Id id : parts_) {
            if (id != 0) {
                QAccessible::deleteAccessibleInterface(id);
            }
        }
    }
    ViewInterface(const ViewInterface&) = delete;
    ViewInterface& operator=(const ViewInterface&) = delete;

    int childCount() const override { return kViewPartCount; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= kViewPartCount) {
            return nullptr;
        }
        QAccessible::Id& id = parts_[static_cast<std::size_t>(index)];
        if (id == 0) {
            id = QAccessible::registerAccessibleInterface(
                new PartInterface(widget(), static_cast<ViewPart>(index)));
        }
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int index = 0; index < kViewPartCount; ++index) {
            const QAccessible::Id id = parts_[static_cast<std::size_t>(index)];
            if (id != 0 && QAccessible::accessibleInterface(id) == child) {
                return index;
            }
        }
        return -1;
    }
    // The last shown part under the point: the notice lies over the panel and the help box.
    QAccessibleInterface* childAt(int x, int y) const override {
        const ScreenText text = TextOfView(widget());
        const QPoint at = widget()->mapFromGlobal(QPoint(x, y));
        for (int index = kViewPartCount - 1; index >= 0; --index) {
            const PartShown part = Describe(static_cast<ViewPart>(index), text);
            if (part.shown && part.rect.contains(at)) {
                return child(index);
            }
        }
        return nullptr;
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Description) {
            return Describe(ViewPart::kNotice, TextOfView(widget())).text.replace('\n', ' ');
        }
        return QAccessibleWidget::text(kind);
    }

  private:
    mutable std::array<QAccessible::Id, kViewPartCount> parts_{};
};

QAccessibleInterface* MakeInterface(const QString& /*className*/, QObject* object) {
    if (auto* view = dynamic_cast<TransferView*>(object)) {
        return new ViewInterface(view);
    }
    return MakeToolButtonInterface(object);
}

}  // namespace

void InstallViewAccessibility() {
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(MakeInterface); });
}

ViewAnnouncer::ViewAnnouncer(QWidget& view, std::chrono::milliseconds interval)
    : view_(view), interval_(interval) {}

// The events name the view and the part's index (-1: the view itself): the toolkit makes the
// interfaces only when a screen reader listens.
void ViewAnnouncer::Tell(QAccessibleEvent&& event, int part) {
    event.setChild(part);
    if (sink_) {
        sink_(event);
    } else {
        QAccessible::updateAccessibility(&event);
    }
}

void ViewAnnouncer::Update(const ScreenText& text) {
    const ScreenText was = std::exchange(told_, text);
    for (int index = 0; index < kViewPartCount; ++index) {
        const auto part = static_cast<ViewPart>(index);
        const PartShown before = Describe(part, was);
        const PartShown after = Describe(part, text);
        if (before.shown != after.shown) {
            Tell(QAccessibleEvent(&view_,
                                  after.shown ? QAccessible::ObjectShow : QAccessible::ObjectHide),
                 index);
        }
        const bool noticeAgain = part == ViewPart::kNotice && noticeComing_ && after.shown;
        if (before.text == after.text && !noticeAgain) {
            continue;
        }
        Tell(QAccessibleEvent(&view_, QAccessible::NameChanged), index);
        if (after.role != QAccessible::ProgressBar) {
            Tell(QAccessibleTextUpdateEvent(&view_, 0, before.text, after.text), index);
        }
        if (part == ViewPart::kNotice) {
            Tell(QAccessibleEvent(&view_, QAccessible::DescriptionChanged), -1);
        }
    }
    noticeComing_ = false;
    barsHeld_ = barsHeld_ || text.bars != barsNow_;
    if (barsHeld_ && now_() - barsToldAt_ >= interval_) {
        TellBars();
    }
}

void ViewAnnouncer::Flush() {
    if (barsHeld_) {
        TellBars();
    }
}

void ViewAnnouncer::TellBars() {
    barsHeld_ = false;
    barsToldAt_ = now_();
    const std::array<ViewPart, 2> bars = {ViewPart::kDiskBar, ViewPart::kTotalBar};
    for (std::size_t bar = 0; bar < bars.size(); ++bar) {
        if (told_.panelShown && told_.bars[bar] != barsNow_[bar]) {
            Tell(QAccessibleValueChangeEvent(&view_, told_.bars[bar]), static_cast<int>(bars[bar]));
        }
    }
    barsNow_ = told_.bars;
}

}  // namespace torvanik
