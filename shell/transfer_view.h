#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <functional>

#include "engine/engine_seams.h"
#include "engine/transfer.h"
#include "screen/presenter.h"

class QStatusBar;

namespace torvanik {

// The view: one image of the client area, on which the presenter paints what the commands
// report, each drawing operation presented once. A paint request of the window system
// (first show, resize, uncover, restore) paints the picture again from the screen's record.
// While a command runs, the window keeps painting and answering the window system, but no
// click or key reaches the program until the command ends.
class TransferView : public QWidget {
  public:
    // Without `records`, stopped transfers are not kept.
    TransferView(QWidget* parent, Transfer& transfer, DriveChoice& drive, Questions& questions,
                 FileSystem& files, const DriveMap& drives, const RecordStore* records = nullptr);

    void OnSplitOut();
    void OnJoinIn();
    void OnDiskReady();
    void OnCleanDisk();
    void OnSelectDrive();
    void OnShowHelp();

    // The client-area image, as the last drawing left it.
    const Surface& image() const { return surface_; }
    // What the picture shows, as the screen keeps it.
    const ScreenRecord& screen() const { return presenter_.record(); }
    // The picture of `record` from the next paint on, for tools that show a chosen state.
    void ShowRecord(const ScreenRecord& record);

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
    // The presenter, and what the window shows beside the picture: the reason and the
    // read-back in the status bar; during a long copy or read-back, the window's events.
    class WindowPresenter : public Presenter {
      public:
        WindowPresenter(TransferView& view, CanvasSource canvases)
            : Presenter(std::move(canvases)), view_(view) {}

        void ReasonGiven(const std::string& line) override;
        void ChunkCopied(const ChunkProgress& progress) override;
        void CheckStarted(std::int64_t length) override;
        void CheckProgress(std::int64_t checked, std::int64_t length) override;
        void CheckEnded() override;

      private:
        TransferView& view_;
    };

    void RunCommand(const std::function<void()>& command);
    void Present();
    void RepaintFromRecord();
    void PumpEvents();
    QStatusBar* StatusBar() const;

    Transfer& transfer_;
    Surface surface_;
    WindowPresenter presenter_;
    EngineSeams seams_;
    bool fromRecord_ = true;  // the next paint draws the picture from the record
    bool inCommand_ = false;
    std::function<void()> commandEnded_;
    QElapsedTimer sinceEvents_;
};

}  // namespace torvanik
