#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

// A medium that takes `bytesPerSecond`: every wait for a stretch to reach it takes the
// stretch's time, and what it holds is kept.
struct SlowMedium {
    double bytesPerSecond;
    std::int64_t onMedium = 0;  // of the file being written

    bool Take(std::int64_t offset, std::int64_t length) {
        std::this_thread::sleep_for(std::chrono::duration<double>(length / bytesPerSecond));
        onMedium = std::max(onMedium, offset + length);
        return true;
    }
};

class WriteBehindTest : public EngineTest {};

// The bars show only what the medium holds, and the copy keeps no more than about half a
// second of the medium's writing on its way (one run more while it writes the next).
TEST_F(WriteBehindTest, BarsNeverRunAheadOfWhatTheMediumHolds) {
    struct Case {
        const char* name;
        double bytesPerSecond;
        std::size_t fileSize;
        std::int64_t mostOnTheWay;
    };
    for (const Case& c : {Case{"floppy-like", 100'000, 160'000, 50'000 + 2 * 16384},
                          Case{"stick-like", 40e6, 24 << 20, 20'000'000 + 2 * 262144}}) {
        SCOPED_TRACE(c.name);
        Reset();
        SlowMedium medium{c.bytesPerSecond};
        files.beforeWriteBackWait = [&medium](std::int64_t offset, std::int64_t length) {
            return medium.Take(offset, length);
        };
        std::int64_t chunkWritten = 0;
        std::int64_t largestOnTheWay = 0;
        files.beforeWrite = [&](std::size_t size) {
            if (observer.notices.back() == N(NoticeId::kCopyingTo, 1)) {
                largestOnTheWay = std::max(largestOnTheWay, chunkWritten - medium.onMedium);
                chunkWritten += static_cast<std::int64_t>(size);
            }
            return true;
        };
        std::int64_t reported = 0;
        int ahead = 0;
        observer.onChunkCopied = [&](const ChunkProgress& progress) {
            reported = progress.doneInChunk;
            ahead += progress.doneInChunk > medium.onMedium ? 1 : 0;
        };
        Split(MakeSource("film.avi", c.fileSize));
        EXPECT_EQ(Klar().result, StepResult::kFinished);
        EXPECT_EQ(reported, static_cast<std::int64_t>(c.fileSize));
        EXPECT_EQ(ahead, 0);
        EXPECT_LE(largestOnTheWay, c.mostOnTheWay);
        EXPECT_GT(observer.diskBarRedraws, 0);
        TakeOutDisk(1);
    }
}

TEST_F(WriteBehindTest, AMediumThatLosesARunFailsTheStepAndLeavesTheDiskAsItWas) {
    int waits = 0;
    files.beforeWriteBackWait = [&waits](std::int64_t, std::int64_t) {
        errno = EIO;
        return waits++ == 0;
    };
    Split(MakeSource("film.avi", 400'000));
    EXPECT_EQ(Klar().result, StepResult::kSameDisk);
    EXPECT_EQ(observer.reasons.back(), "Skrivefeil på disketten: Input/output error");
    EXPECT_EQ(observer.notices.back(), N(NoticeId::kInsertDiskAgain, 1));
    EXPECT_TRUE(DriveFiles().empty());
}

}  // namespace
}  // namespace torvanik::testing
