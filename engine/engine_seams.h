#pragma once

#include <cstdint>
#include <string>

#include "engine/questions.h"
#include "engine/transfer_state.h"
#include "platform/canvas.h"
#include "platform/drive_map.h"
#include "platform/file_system.h"

namespace torvanik {

// What a front end learns of a transfer besides the pixels.
class TransferObserver {
  public:
    virtual ~TransferObserver() = default;
    // A notice the engine shows (not the replays of a repaint or of the copy loop).
    virtual void NoticeShown(const Notice& /*notice*/) {}
    // Why the notice just shown was shown: one line, to be shown beside it.
    virtual void ReasonGiven(const std::string& /*line*/) {}
    // After every read and write of the copy loop (a run of blocks).
    virtual void BlockCopied(std::int64_t /*doneInChunk*/, std::int64_t /*chunkSize*/,
                             std::int64_t /*done*/, std::int64_t /*total*/) {}
    // The copy loop redrew the per-disk bar, or the total bar.
    virtual void DiskBarRedrawn() {}
    virtual void TotalBarRedrawn() {}
    // A step's file is read back from the medium: its start, its progress, its end.
    virtual void CheckStarted(std::int64_t /*length*/) {}
    virtual void CheckProgress(std::int64_t /*checked*/, std::int64_t /*length*/) {}
    virtual void CheckEnded() {}
};

// The outside world of the engine: the three seams, and an optional observer.
struct EngineSeams {
    CanvasSource& canvases;
    Questions& questions;
    FileSystem& files;
    const DriveMap& drives;
    TransferObserver* observer = nullptr;
};

}  // namespace torvanik
