#include "shell/lock_key_indicators.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>

#include "shell/x11_lock_keys.h"

namespace torvanik {
namespace {

struct Indicator {
    const char* text;     // what the pane shows while the lock is on
    const char* xkbName;  // the indicator's name in the X keyboard extension
};

constexpr std::array<Indicator, 3> kIndicators = {{
    {"CAP", "Caps Lock"},
    {"NUM", "Num Lock"},
    {"SCRL", "Scroll Lock"},
}};

}  // namespace

LockKeyIndicators::LockKeyIndicators(QStatusBar* bar) : QObject(bar) {
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        auto* pane = new QLabel(bar);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(kIndicators[i].text) + 12);
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
        const bool on = X11IndicatorOn(kIndicators[i].xkbName);
        panes_[i]->setText(on ? kIndicators[i].text : "");
    }
}

}  // namespace torvanik
