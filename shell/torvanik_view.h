#pragma once

#include <QWidget>

#include "engine/engine_seams.h"

namespace torvanik {

// The view: one image of the client area that the commands draw on, shown on the screen
// at once after every drawing operation. A paint request of the window system repaints
// the picture from the transfer state alone.
class CTorvanikView : public QWidget {
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

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    // Shows the reason for a notice in the status bar's message pane.
    class ReasonPane : public TransferObserver {
      public:
        explicit ReasonPane(QWidget* view) : view_(view) {}
        void ReasonGiven(const std::string& line) override;
        void Clear();

      private:
        QWidget* view_;
    };

    void OnDraw(Canvas& canvas);
    void Present();

    Surface surface_;
    CanvasSource canvases_;
    ReasonPane reasons_{this};
    EngineSeams seams_;
    bool presenting_ = false;
};

}  // namespace torvanik
