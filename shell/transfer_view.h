#pragma once

#include <QWidget>
#include <functional>

#include "engine/engine_seams.h"
#include "engine/stop_token.h"
#include "engine/transfer.h"
#include "screen/presenter.h"
#include "shell/queued_observer.h"
#include "shell/step_runner.h"
#include "shell/view_accessibility.h"

class QStatusBar;

namespace torvanik {

// The view: one image of the client area, on which the presenter paints what the commands
// report, each drawing operation presented once. A paint request of the window system
// (first show, resize, uncover, restore) paints the picture again from the screen's record.
// A command runs on the step runner's thread and its reports come back to the window's
// thread as queued calls, so the window keeps painting and answering the window system;
// no click or key made meanwhile reaches the program, then or later.
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

    // What changes in the picture is announced to screen readers through it.
    ViewAnnouncer& announcer() { return announcer_; }

    bool InCommand() const { return inCommand_; }
    // A KLAR of an armed transfer is under way: a disk is being written or read.
    bool InDiskStep() const { return inCommand_ && diskStep_; }
    // Ends the disk step under way at its next safe point, the disk as before the step.
    void StopDiskStep() { stop_.Request(); }
    bool DiskStepStopping() const { return stop_.Requested(); }
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
    // read-back's progress in the status bar.
    class WindowPresenter : public Presenter {
      public:
        WindowPresenter(TransferView& view, CanvasSource canvases)
            : Presenter(std::move(canvases)), view_(view) {}

        void NoticeShown(NoticeId id, int number) override;
        void ReasonGiven(const std::string& line) override;
        void CheckStarted(std::int64_t length) override;
        void CheckProgress(std::int64_t checked, std::int64_t length) override;
        void CheckEnded() override;

      private:
        void ShowChecked(std::int64_t checked, std::int64_t length);

        TransferView& view_;
        int percentShown_ = -1;
    };

    void RunCommand(std::function<void()> command, bool diskStep = false);
    void Present();
    void RepaintFromRecord();
    void ClearMessage();
    QStatusBar* StatusBar() const;

    Transfer& transfer_;
    Surface surface_;
    WindowPresenter presenter_;
    QueuedObserver reportsFromRunner_;
    ViewAnnouncer announcer_;
    // The seams of the commands, which run on the runner's thread.
    EngineSeams seams_;
    bool fromRecord_ = true;  // the next paint draws the picture from the record
    bool inCommand_ = false;
    bool diskStep_ = false;
    // The stop of the command under way, handed to its steps.
    StopToken stop_;
    std::function<void()> commandEnded_;
    // Last: its thread ends before anything it works on goes.
    StepRunner runner_;
};

}  // namespace torvanik
