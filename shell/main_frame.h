#pragma once

#include <QMainWindow>
#include <map>

#include "engine/questions.h"
#include "platform/drive_map.h"
#include "platform/file_system.h"

class QAction;
class QLabel;
class QToolBar;

namespace torvanik {

class CTorvanikView;
class LockKeyIndicators;

// The main window: menu, toolbar, view and status bar.
class CMainFrame : public QMainWindow {
  public:
    // Loads the drive setting, before any window exists.
    CMainFrame(const DriveMap& drives, const QString& caption);
    ~CMainFrame() override;

    // Sizes the window and makes its bars; false when a step fails.
    bool Create();
    // After the first show: the outer size, frame and caption included, is 512 x 450.
    void ApplyOuterSize();

    CTorvanikView* view() const { return view_; }
    QAction* action(int command) const;
    QToolBar* toolBar() const { return toolBar_; }

  private:
    void PreCreateWindow();
    int OnCreate();
    void MakeActions();
    bool MakeMenu();
    bool MakeToolBar();
    bool MakeStatusBar();

    const DriveMap& drives_;
    FileSystem files_;
    std::unique_ptr<Questions> questions_;
    CTorvanikView* view_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    LockKeyIndicators* indicators_ = nullptr;
    std::map<int, QAction*> actions_;
};

}  // namespace torvanik
