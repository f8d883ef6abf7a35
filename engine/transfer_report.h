#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// What a transfer tells its front end, as plain values: the notices, the panel, the
// progress in bytes, the read-back and the reasons. The screen paints them, the terminal
// prints them; the engine itself draws nothing.
namespace torvanik {

enum class TransferKind { kNone, kSplit, kJoin };

// The notices the engine shows in the notice box.
enum class NoticeId {
    kInsertDiskAgain,  // with the disk, or without a number
    kSplitDoneSeveral,
    kInsertDisk,  // with the disk
    kDiskFull,
    kCopyingTo,  // with the disk
    kSplitDoneOne,
    kNoDestination,
    kCopyingFrom,  // with the disk
    kJoinDoneSeveral,
    kJoinDoneOne,
    kIdlePrompt,
    kExamining,
    kInsertDiskOneForJoin,
    kKeepDiskOne,
    kInsertParityDisk,   // with the parity disk
    kCopyingToParity,    // with the parity disk
    kCopyingFromParity,  // with the parity disk
    kRebuilding,
};

inline constexpr int kNoNumber = -1;

// A notice as the notice box draws it: its frame, its run of notice lines, its number.
struct Notice {
    int box = 0;
    int firstLine = 0;
    int lineCount = 0;
    int number = kNoNumber;

    bool operator==(const Notice&) const = default;
};

// Where each of the engine's notices stands in the table of notice lines; the engine's
// notices all sit in the same box.
struct NoticeLayout {
    NoticeId id;
    int firstLine;
    int lineCount;
};
inline constexpr int kEngineNoticeBox = 3;
inline constexpr std::array<NoticeLayout, 18> kNoticeLayouts = {{
    {NoticeId::kInsertDiskAgain, 0, 2},
    {NoticeId::kSplitDoneSeveral, 2, 1},
    {NoticeId::kInsertDisk, 3, 2},
    {NoticeId::kDiskFull, 5, 3},
    {NoticeId::kCopyingTo, 8, 1},
    {NoticeId::kSplitDoneOne, 9, 1},
    {NoticeId::kNoDestination, 10, 1},
    {NoticeId::kCopyingFrom, 11, 1},
    {NoticeId::kJoinDoneSeveral, 12, 1},
    {NoticeId::kJoinDoneOne, 13, 1},
    {NoticeId::kIdlePrompt, 14, 2},
    {NoticeId::kExamining, 16, 1},
    {NoticeId::kInsertDiskOneForJoin, 17, 2},
    {NoticeId::kKeepDiskOne, 19, 2},
    {NoticeId::kInsertParityDisk, 23, 2},
    {NoticeId::kCopyingToParity, 25, 1},
    {NoticeId::kCopyingFromParity, 26, 1},
    {NoticeId::kRebuilding, 27, 1},
}};

constexpr bool NoticeLayoutsInOrder() {
    for (std::size_t i = 0; i < kNoticeLayouts.size(); ++i) {
        if (static_cast<std::size_t>(kNoticeLayouts[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(NoticeLayoutsInOrder(), "the layouts are looked up by the notice's value");

constexpr Notice NoticeOf(NoticeId id, int number) {
    const NoticeLayout& layout = kNoticeLayouts[static_cast<std::size_t>(id)];
    return {kEngineNoticeBox, layout.firstLine, layout.lineCount, number};
}

// What the picture shows of the transfer beside its notices and bars.
struct TransferFacts {
    TransferKind armed = TransferKind::kNone;
    bool pathStrip = false;  // a file was picked: the path strip is drawn
    std::string path;        // UTF-8: the source while splitting, the destination while joining
    std::string driveRoot;   // "A:" to "N:", as the drive field shows it
    std::int64_t fileLength = 0;  // of the file being split or joined
    std::int64_t freeKB = 0;      // the free space last measured on the disk

    bool operator==(const TransferFacts&) const = default;
};

// What a reset of the picture keeps.
enum class ScreenReset {
    kNothing,     // a new transfer, or none
    kNoticeOnly,  // a finished transfer: its last notice stays
};

// Progress is reported in 440ths of the chunk and of the whole file, the bars' pixels:
// the copy reports where either grows.
inline constexpr int kProgressSteps = 440;

inline int ProgressStep(std::int64_t part, std::int64_t whole) {
    const double scale = static_cast<double>(whole) * (1.0 / kProgressSteps);
    return static_cast<int>(static_cast<double>(part) / scale + 0.5);
}

struct ChunkProgress {
    std::int64_t doneInChunk = 0;
    std::int64_t chunkSize = 0;
    std::int64_t done = 0;  // of the whole file
    std::int64_t total = 0;
};

class TransferObserver {
  public:
    virtual ~TransferObserver() = default;

    // The facts changed; they hold for whatever is drawn next.
    virtual void FactsChanged(const TransferFacts& /*facts*/) {}
    // The picture loses what `reset` does not keep, without being drawn.
    virtual void ScreenReset(ScreenReset /*reset*/) {}
    // The whole picture is drawn anew.
    virtual void ScreenDrawn() {}
    virtual void NoticeShown(NoticeId /*id*/, int /*number*/) {}
    // Why the notice just shown was shown: one line, to be shown beside it.
    virtual void ReasonGiven(const std::string& /*line*/) {}

    // KLAR began the step of `disk`.
    virtual void DiskStepBegun(int /*disk*/) {}
    // The panel as it stood when disk `disk` was asked for: the bars from disk 2 on, the
    // free space with `showFree`.
    virtual void DiskProgressShown(int /*disk*/, bool /*showFree*/) {}
    // The bars are part of the picture from here on (a join's chunk is being copied).
    virtual void BarsKept() {}
    // A transfer was picked: its whole-file bar starts again from nothing.
    virtual void TotalRestarted() {}
    // A step's way back: its bars as they stand now, and back to them when it is undone.
    virtual void StepCheckpoint() {}
    virtual void StepUndone() {}
    // After every read and write of the copy.
    virtual void ChunkCopied(const ChunkProgress& /*progress*/) {}

    // A step's file is read back from the medium: its start, its progress, its end.
    virtual void CheckStarted(std::int64_t /*length*/) {}
    virtual void CheckProgress(std::int64_t /*checked*/, std::int64_t /*length*/) {}
    virtual void CheckEnded() {}
};

}  // namespace torvanik
