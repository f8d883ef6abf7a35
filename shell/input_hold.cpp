#include "shell/input_hold.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace torvanik {

InputHold::InputHold(QWidget& window) : window_(window) {
    window_.setCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
}

InputHold::~InputHold() {
    qApp->removeEventFilter(this);
    window_.unsetCursor();
}

bool InputHold::InHeldWindow(QObject* watched) const {
    if (const auto* widget = qobject_cast<QWidget*>(watched)) {
        return widget->window() == &window_;
    }
    if (const auto* handle = qobject_cast<QWindow*>(watched)) {
        return handle == window_.windowHandle();
    }
    return false;
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            if (!InHeldWindow(watched)) {
                return false;
            }
            // Taken by the widget, as it were: no shortcut fires from the key.
            event->accept();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::ContextMenu:
        case QEvent::ToolTip:
        case QEvent::WhatsThis:
        case QEvent::StatusTip:
            return InHeldWindow(watched);
        default:
            // The pointer's moves pass, so that what it hovers is drawn as ever.
            return false;
    }
}

}  // namespace torvanik
