#pragma once

#include <array>
#include <optional>

#include "canvas/canvas.h"
#include "engine/transfer_report.h"
#include "screen/screen_record.h"

namespace torvanik {

// Paints what a transfer reports, as it is reported, on the client area's surface, and keeps
// the screen's record from which a paint request draws the whole picture again. Every
// report is one drawing operation with one present.
class Presenter : public TransferObserver {
  public:
    explicit Presenter(CanvasSource canvases);

    // One drawing context lasts a command: what its drawing sets (the background mode of
    // the picture among it) holds until the command ends.
    class Command {
      public:
        explicit Command(Presenter& presenter);
        ~Command();
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;

      private:
        Presenter& presenter_;
    };

    // A paint request of the window system: the whole picture from the record alone.
    void Paint(Canvas& canvas);
    // Hjelp: the help box over whatever is there.
    void ShowHelp();
    // A left click at (x, y) in client pixels: it hides the help box, or hides or shows
    // the notice when it lands inside the notice box.
    void Click(int x, int y);

    const ScreenRecord& record() const { return record_; }
    ScreenRecord& record() { return record_; }

    void FactsChanged(const TransferFacts& facts) override;
    void ScreenReset(torvanik::ScreenReset reset) override;
    void ScreenDrawn() override;
    void NoticeShown(NoticeId id, int number) override;
    void DiskStepBegun(int disk) override;
    void DiskProgressShown(int disk, bool showFree) override;
    void BarsKept() override;
    void TotalRestarted() override;
    void StepCheckpoint() override;
    void StepUndone() override;
    void ChunkCopied(const ChunkProgress& progress) override;

  private:
    // What a step puts back of the bars when it is undone.
    struct Bars {
        int lastTotalBar = 0;
        std::array<int, 2> barLength{};
        bool shown = false;
    };

    Canvas& CommandCanvas();

    CanvasSource canvases_;
    std::optional<Canvas> canvas_;
    ScreenRecord record_;
    Bars checkpoint_;
};

}  // namespace torvanik
