#pragma once

#include <cstdint>
#include <string>

#include "engine/engine_seams.h"
#include "engine/scripted_questions.h"
#include "platform/canvas.h"
#include "platform/drive_map.h"
#include "platform/file_system.h"
#include "tools/snapshot/scratch_space.h"

namespace torvanik::snapshot {

inline constexpr int kPictureWidth = 500;
inline constexpr int kPictureHeight = 312;

// The engine with scripted answers, the real file system and a drive A: (and C:) in the
// scratch space, drawing on one client-area surface.
class SnapshotSession {
  public:
    explicit SnapshotSession(const ScratchSpace& scratch);
    ~SnapshotSession();
    SnapshotSession(const SnapshotSession&) = delete;
    SnapshotSession& operator=(const SnapshotSession&) = delete;

    // The program as just started: nothing armed, drive A:, the window painted once.
    void FreshStart();
    // A paint request of the window system: erase, then the picture from the state alone.
    void Repaint();

    // An empty disk in drive A: with `freeBytes` of room.
    void InsertEmptyDisk(std::uint64_t freeBytes);
    // The disk in drive A: taken out and kept as disk `number`.
    void TakeOutDisk(int number);
    // Disk `number`, kept before, back in drive A:.
    void PutInDisk(int number);

    bool SavePicture(const std::string& path) const;

    ScriptedQuestions& questions() { return questions_; }
    const EngineSeams& seams() const { return seams_; }
    const DriveMap& drives() const { return drives_; }

  private:
    void CloseStreams();

    const ScratchSpace& scratch_;
    Surface surface_{kPictureWidth, kPictureHeight};
    CanvasSource canvases_{surface_, {}};
    FileSystem files_;
    DriveMap drives_;
    ScriptedQuestions questions_;
    EngineSeams seams_{canvases_, questions_, files_, drives_};
};

}  // namespace torvanik::snapshot
