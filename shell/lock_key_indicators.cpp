#include "shell/lock_key_indicators.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>

#include "res/texts/window_texts.h"
#include "shell/x11_lock_keys.h"

namespace torvanik {
namespace {

// The indicators' names in the X keyboard extension, in the order of kLockKeyLabels.
constexpr std::array<const char*, 3> kXkbNames = {"Caps Lock", "Num Lock", "Scroll Lock"};
static_assert(kXkbNames.size() == kLockKeyLabels.size());

}  // namespace

LockKeyIndicators::LockKeyIndicators(QStatusBar* bar) : QObject(bar) {
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        auto* pane = new QLabel(bar);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(kLockKeyLabels[i]) + 12);
        bar->addPermanentWidget(pane);
        panes_[i] = pane;
    }
    qApp->installEventFilter(this);
    Update();
}

bool LockKeyIndicators::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ApplicationActivate:
            Update();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void LockKeyIndicators::Update() {
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        const bool on = X11IndicatorOn(kXkbNames[i]);
        panes_[i]->setText(on ? kLockKeyLabels[i] : "");
    }
}

}  // namespace torvanik
