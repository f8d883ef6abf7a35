#include "shell/x11_lock_keys.h"

#include <QGuiApplication>

// After Qt: the X11 headers define macros that clash with Qt's names.
#include <X11/XKBlib.h>

namespace torvanik {

bool X11IndicatorOn(const char* xkbName) {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr) {
        return false;
    }
    Bool on = False;
    const Atom atom = XInternAtom(display, xkbName, False);
    return XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
}

}  // namespace torvanik
