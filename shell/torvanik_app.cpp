#include "shell/torvanik_app.h"

#include <QIcon>
#include <QPixmap>
#include <cstdio>

#include "res/texts/window_texts.h"
#include "res/toolbar.h"
#include "shell/document.h"
#include "shell/main_window.h"
#include "shell/qt_translation.h"
#include "shell/transfer_view.h"

namespace torvanik {

TorvanikApp::TorvanikApp() = default;
TorvanikApp::~TorvanikApp() = default;

bool TorvanikApp::Start(DriveMap& drives) {
    InstallNorwegianQtTranslation(*qApp);
    QIcon icon{QPixmap(LargeIcon())};
    icon.addPixmap(QPixmap(SmallIcon()));
    QApplication::setWindowIcon(icon);
    // The desktop matches the window to its entry by this name (on Wayland, the app id).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.torvanik.Torvanik"));
    window_ = std::make_unique<MainWindow>(drives, Document::Title());
    if (!window_->Create()) {
        std::fprintf(stderr, kWindowNotCreated, window_->whyNotCreated().c_str());
        window_.reset();
        return false;
    }
    window_->show();
    window_->ApplyOuterSize();
    window_->view()->repaint();
    return true;
}

}  // namespace torvanik
