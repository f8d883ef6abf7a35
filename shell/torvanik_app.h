#pragma once

#include <QApplication>
#include <memory>

#include "platform/drive_map.h"
#include "shell/torvanik_doc.h"

namespace torvanik {

class CMainFrame;

// The application: start-up of the one document, frame and view.
class CTorvanikApp {
  public:
    CTorvanikApp();
    ~CTorvanikApp();

    // Creates the document and the main window, shows it and paints it once; false when
    // the window can't be made.
    bool InitInstance(const DriveMap& drives);
    CMainFrame* mainFrame() const { return frame_.get(); }

  private:
    CTorvanikDoc document_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace torvanik
