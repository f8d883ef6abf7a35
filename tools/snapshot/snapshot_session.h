#pragma once

#include <cstdint>
#include <string>

#include <functional>
#include <optional>

#include "canvas/canvas.h"
#include "engine/engine_seams.h"
#include "engine/scripted_questions.h"
#include "engine/transfer.h"
#include "platform/drive_map.h"
#include "platform/file_system.h"
#include "screen/presenter.h"
#include "tools/snapshot/scratch_space.h"

namespace torvanik::snapshot {

inline constexpr int kPictureWidth = 500;
inline constexpr int kPictureHeight = 312;

// A transfer with scripted answers, the real file system and a drive A: (and C:) in the
// scratch space, its reports painted on one client-area surface.
class SnapshotSession {
  public:
    explicit SnapshotSession(const ScratchSpace& scratch);
    ~SnapshotSession();
    SnapshotSession(const SnapshotSession&) = delete;
    SnapshotSession& operator=(const SnapshotSession&) = delete;

    // The program as just started: nothing armed, drive A:, the window painted once.
    void FreshStart();
    // A paint request of the window system: erase, then the picture from the record alone.
    void Repaint();
    // A command of the window on the session's transfer, painted as it reports.
    void Run(const std::function<void(Transfer&, const EngineSeams&)>& command);

    // An empty disk in drive A: with `freeBytes` of room.
    void InsertEmptyDisk(std::uint64_t freeBytes);
    // The disk in drive A: taken out and kept as disk `number`.
    void TakeOutDisk(int number);
    // Disk `number`, kept before, back in drive A:.
    void PutInDisk(int number);

    bool SavePicture(const std::string& path) const;

    ScriptedQuestions& questions() { return questions_; }
    Presenter& presenter() { return *presenter_; }
    const DriveMap& drives() const { return drives_; }
    DriveMap& drives() { return drives_; }

  private:
    const ScratchSpace& scratch_;
    Surface surface_{kPictureWidth, kPictureHeight};
    FileSystem files_;
    DriveMap drives_;
    ScriptedQuestions questions_;
    Transfer transfer_;
    DriveChoice drive_;
    std::optional<Presenter> presenter_;
};

}  // namespace torvanik::snapshot
