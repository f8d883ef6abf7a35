#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/commands.h"
#include "engine/scripted_questions.h"
#include "engine/transfer.h"
#include "screen/presenter.h"
#include "support/temp_folder.h"

namespace torvanik {

inline void PrintTo(const Notice& n, std::ostream* os) {
    *os << "notice(" << n.box << ", " << n.firstLine << ", " << n.lineCount << ", " << n.number
        << ")";
}

}  // namespace torvanik

namespace torvanik::testing {

// The host file system, with hooks that let a test make a call fail at a chosen point.
class FaultyFileSystem : public FileSystem {
  public:
    // Return false to fail the call; set errno for the failure's cause. Opens are told
    // apart by mode: "rb" reading, "wx" a new temporary, "wb" the joined file.
    std::function<bool(const std::string& path, const char* mode)> beforeOpen;
    std::function<bool(const std::string& to)> beforeRename;
    // After a rename went through: what the medium does to the renamed file.
    std::function<void(const std::string& to)> afterRename;
    std::function<bool(std::size_t size)> beforeRead;
    std::function<bool(std::size_t size)> beforeWrite;
    // The medium takes `after` more bytes, then refuses the write that goes past them, once,
    // with `error`; as on a full disk, the refused write leaves what fitted.
    struct WriteRefusal {
        std::int64_t after;
        int error;
    };
    std::optional<WriteRefusal> refuseOnce;
    std::function<bool()> beforeCommit;
    // Before a folder's entries are flushed.
    std::function<void(const std::string& folder)> beforeSyncFolder;
    // Before the copy waits for a stretch of its file to reach the medium.
    std::function<bool(std::int64_t offset, std::int64_t length)> beforeWriteBackWait;
    // When set, the free space of every drive.
    std::optional<std::optional<std::uint64_t>> freeBytes;
    // When set, the largest file of every drive.
    std::optional<std::uint64_t> largestFile;
    // Spoils what a read-back from the medium got: `got` bytes read at `offset`; returns
    // the count to report (-1 with errno for a failed read).
    std::function<std::int64_t(char* bytes, std::int64_t got, std::int64_t offset)> spoilReadBack;
    // Return false to fail a read of `size` bytes at `offset` of a file not read back (the
    // source's reads at a position); called from several threads at once.
    std::function<bool(std::int64_t offset, std::size_t size)> beforeReadAt;
    // The files read back from the medium, in order.
    std::vector<std::string> readBack;
    // When set, the clock that times the medium.
    std::function<std::chrono::steady_clock::time_point()> now;

    Result<File> OpenRegular(const std::string& path, Links links,
                             const OpenReasons& told) override;
    Result<File> CreateNew(const std::string& path) override;
    Result<File> CreateOrEmpty(const std::string& path, const OpenReasons& told) override;
    Result<void> Rename(const std::string& from, const std::string& to) override;
    std::uint64_t LargestFile(const std::string& folder) override;
    Result<std::size_t> Read(void* buffer, std::size_t size, File& file) override;
    Result<void> Write(const void* buffer, std::size_t size, File& file) override;
    Result<void> WaitForWriteBack(File& file, std::int64_t offset, std::int64_t length) override;
    Result<void> Commit(File& file) override;
    Result<void> SyncFolder(const std::string& folder) override;
    Result<std::uint64_t> FreeBytes(const DiskInDrive& drive) override;
    Result<File> OpenForReadBack(const std::string& path, int flags) override;
    Result<std::int64_t> ReadAt(File& file, void* buffer, std::size_t size,
                                std::int64_t offset) override;
    std::chrono::steady_clock::time_point Now() override;

  private:
    bool ReadsBack(File& file);

    std::vector<FileIdentity> readBackFiles_;  // under ReadBackLock(): read back side by side
};

// The screen's presenter, which also keeps what the engine reported: the notices it
// showed, the reasons, the read-backs and how often each bar was drawn anew.
class RecordingObserver : public Presenter {
  public:
    explicit RecordingObserver(CanvasSource canvases) : Presenter(std::move(canvases)) {}

    std::vector<Notice> notices;
    std::vector<std::string> reasons;
    int diskBarRedraws = 0;
    int totalBarRedraws = 0;
    int checks = 0;
    // Told every progress of the copy.
    std::function<void(const ChunkProgress&)> onChunkCopied;

    void NoticeShown(NoticeId id, int number) override {
        notices.push_back(NoticeOf(id, number));
        Presenter::NoticeShown(id, number);
    }
    void ReasonGiven(const std::string& line) override { reasons.push_back(line); }
    void CheckStarted(std::int64_t /*length*/) override { ++checks; }
    void ChunkCopied(const ChunkProgress& progress) override;
};

// The bits of what the picture shows, as tests speak of them.
inline constexpr int VS_HELP = 1;
inline constexpr int VS_PANEL = 2;
inline constexpr int VS_BARS = 4;
inline constexpr int VS_NOTICE = 8;
inline constexpr int VS_SPLIT = 16;
inline constexpr int VS_JOIN = 32;
int ViewStateOf(const ScreenRecord& record);

inline constexpr int BarScale = kProgressSteps;

// A notice of the engine, by its id.
inline Notice N(NoticeId id, int number = kNoNumber) {
    return NoticeOf(id, number);
}

// Drive A: is the folder "drive" of a fresh temporary folder; disks taken out of it wait
// in "disk<N>" beside it.
class EngineTest : public ::testing::Test {
  public:
    EngineTest();
    ~EngineTest() override;

    void Split(const std::string& path);        // UT with `path` picked
    void Join(const std::string& destination);  // INN with `destination` picked
    StepOutcome Klar();
    // Any other command of the window, painted on a canvas of its own.
    template <typename Command>
    auto Run(Command command) {
        const Presenter::Command drawing(Painter());
        return command(transfer, seams);
    }
    void Help();
    void Click(int x, int y);
    // The notice toggle as a number: 0 no notice yet, 1 shown, -1 hidden by a click.
    int Toggle() const;
    // The program as just started: no transfer, drive A:, nothing shown.
    void Reset();

    // The presenter the reports go to (the recording observer unless a test chose another),
    // what it shows, and its bits.
    Presenter& Painter() const { return dynamic_cast<Presenter&>(*seams.observer); }
    const ScreenRecord& screen() const { return Painter().record(); }
    int ViewState() const { return ViewStateOf(screen()); }
    bool Armed() const { return transfer.armed != TransferKind::kNone; }

    void TakeOutDisk(int disk);  // the drive's files into disk<N>
    void PutInDisk(int disk);    // a copy of disk<N>'s files in the emptied drive
    std::string OnDrive(const std::string& name) const { return driveDir + "/" + name; }
    std::string OnDisk(int disk, const std::string& name) const;
    std::vector<std::string> DriveFiles() const;

    // A source file of `size` pattern bytes in the temporary folder.
    std::string MakeSource(const std::string& name, std::size_t size, unsigned seed = 1);

    TempFolder tmp;
    std::string driveDir;
    DriveMap drives;
    Surface surface{500, 312};
    ScriptedQuestions questions;
    FaultyFileSystem files;
    RecordingObserver observer{CanvasSource(surface, {})};
    Transfer transfer;
    DriveChoice drive;
    EngineSeams seams{questions, files, drives, drive, &observer};
};

}  // namespace torvanik::testing
