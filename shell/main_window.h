#pragma once

#include <QMainWindow>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "engine/questions.h"
#include "platform/drive_map.h"
#include "platform/file_system.h"
#include "shell/document.h"

class QAction;
class QLabel;
class QToolBar;

namespace torvanik {

class TransferView;
class LockKeyIndicators;

// The main window: menu, toolbar, view and status bar.
class MainWindow : public QMainWindow {
  public:
    // Loads the drive setting, before any window exists. Without `files`, the steps use
    // the machine's own file system.
    MainWindow(DriveMap& drives, const QString& caption,
               std::unique_ptr<FileSystem> files = nullptr);
    ~MainWindow() override;

    // Sizes the window and makes its bars; false when a step fails, which whyNotCreated()
    // then names.
    bool Create();
    const std::string& whyNotCreated() const { return whyNotCreated_; }
    // The outer size, frame and caption included, becomes 512 x 450, each time the window
    // manager reports a frame of another size (it may report it late).
    void ApplyOuterSize();

    TransferView* view() const { return view_; }
    QAction* action(int command) const;
    QToolBar* toolBar() const { return toolBar_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // No menu of the bars: right-clicking the menu bar or the toolbar does nothing.
    QMenu* createPopupMenu() override { return nullptr; }

  private:
    bool MakeChildren();
    void MakeActions();
    void MakeParityAction();
    bool MakeMenu();
    bool MakeToolBar();
    bool MakeStatusBar();

    DriveMap& drives_;
    Document document_;
    std::unique_ptr<FileSystem> files_;
    std::unique_ptr<Questions> questions_;
    TransferView* view_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    LockKeyIndicators* indicators_ = nullptr;
    std::map<int, QAction*> actions_;
    std::optional<QMargins> sizedForFrame_;  // the frame the outer size was last set for
    bool closeHeld_ = false;                 // a close request waits for the command's end
    bool askingToStop_ = false;              // the abort question of a close is open
    std::string whyNotCreated_;
};

}  // namespace torvanik
