#include "shell/torvanik_app.h"

#include <QIcon>
#include <QPixmap>

#include "res/toolbar.h"
#include "shell/main_frame.h"
#include "shell/qt_translation.h"
#include "shell/torvanik_view.h"

namespace torvanik {

CTorvanikApp::CTorvanikApp() = default;
CTorvanikApp::~CTorvanikApp() = default;

bool CTorvanikApp::InitInstance(const DriveMap& drives) {
    InstallNorwegianQtTranslation(*qApp);
    QIcon icon{QPixmap(LargeIcon())};
    icon.addPixmap(QPixmap(SmallIcon()));
    QApplication::setWindowIcon(icon);
    // The desktop matches the window to its entry by this name (on Wayland, the app id).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.torvanik.Torvanik"));
    if (!document_.OnNewDocument()) {
        return false;
    }
    frame_ = std::make_unique<CMainFrame>(drives, document_.Title());
    if (!frame_->Create()) {
        frame_.reset();
        return false;
    }
    frame_->show();
    frame_->ApplyOuterSize();
    frame_->view()->repaint();
    return true;
}

}  // namespace torvanik
