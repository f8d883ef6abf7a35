#pragma once

#include <QApplication>
#include <memory>

#include "platform/drive_map.h"

namespace torvanik {

class MainWindow;

// The application: start-up of the one main window.
class TorvanikApp {
  public:
    TorvanikApp();
    ~TorvanikApp();

    // Creates the main window, shows it and paints it once; false when the window can't
    // be made.
    bool Start(DriveMap& drives);
    MainWindow* mainWindow() const { return window_.get(); }

  private:
    std::unique_ptr<MainWindow> window_;
};

}  // namespace torvanik
