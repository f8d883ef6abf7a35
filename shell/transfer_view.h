#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <functional>

#include "engine/engine_seams.h"

class QStatusBar;

namespace torvanik {

// The view: one image of the client area that the commands draw on; each drawing operation
// the engine calls is presented once. A paint request of the window system (first show,
// resize, uncover, restore) repaints the picture from the transfer state alone.
// While a command runs, the window keeps painting and answering the window system, but no
// click or key reaches the program until the command ends.
class CTorvanikView : public QWidget, private TransferObserver {
  public:
    CTorvanikView(QWidget* parent, Questions& questions, FileSystem& files, const DriveMap& drives);

    void OnSplitOut();
    void OnJoinIn();
    void OnDiskReady();
    void OnCleanDisk();
    void OnSelectDrive();
    void OnShowHelp();

    // The client-area image, as the last drawing left it.
    const Surface& image() const { return surface_; }

    bool InCommand() const { return inCommand_; }
    // Called whenever a command has ended.
    void SetCommandEnded(std::function<void()> ended) { commandEnded_ = std::move(ended); }

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void RunCommand(void (*command)(const EngineSeams&));
    void OnDraw(Canvas& canvas);
    void Present();
    void RepaintFromState();
    void BlockCopied(std::int64_t doneInChunk, std::int64_t chunkSize, std::int64_t done,
                     std::int64_t total) override;
    void ReasonGiven(const std::string& line) override;
    void CheckStarted(std::int64_t length) override;
    void CheckProgress(std::int64_t checked, std::int64_t length) override;
    void CheckEnded() override;
    void PumpEvents();
    QStatusBar* StatusBar() const;

    Surface surface_;
    CanvasSource canvases_;
    EngineSeams seams_;
    bool fromState_ = true;  // the next paint draws the picture from the state
    bool inCommand_ = false;
    std::function<void()> commandEnded_;
    QElapsedTimer sinceEvents_;
};

}  // namespace torvanik
