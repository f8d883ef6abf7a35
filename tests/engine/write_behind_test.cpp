#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>

#include "engine/copy_loop.h"
#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

// A medium that takes `bytesPerSecond`: every wait for a stretch to reach it moves its
// clock on by the stretch's time, and what it holds is kept. Its clock moves for nothing
// else, and may be read while a check reads back beside the copy.
struct SlowMedium {
    using Clock = std::chrono::steady_clock;

    double bytesPerSecond;
    std::int64_t onMedium = 0;  // of the file being written
    std::atomic<Clock::rep> ticks = 0;

    bool Take(std::int64_t offset, std::int64_t length) {
        ticks += std::chrono::ceil<Clock::duration>(
                     std::chrono::duration<double>(static_cast<double>(length) / bytesPerSecond))
                     .count();
        onMedium = std::max(onMedium, offset + length);
        return true;
    }
    Clock::time_point Now() const { return Clock::time_point(Clock::duration(ticks.load())); }
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
        std::size_t longestWrite;
    };
    for (const Case& c :
         {Case{"floppy-like", 100'000, 160'000, 50'000 + 2 * 16384, CopyBlockSize},
          Case{"stick-like", 40e6, 24 << 20, 20'000'000 + 2 * 262144, kCopyRunBytes}}) {
        SCOPED_TRACE(c.name);
        Reset();
        SlowMedium medium{c.bytesPerSecond};
        files.beforeWriteBackWait = [&medium](std::int64_t offset, std::int64_t length) {
            return medium.Take(offset, length);
        };
        files.now = [&medium] { return medium.Now(); };
        std::int64_t chunkWritten = 0;
        std::int64_t largestOnTheWay = 0;
        std::size_t longestWrite = 0;
        files.beforeWrite = [&](std::size_t size) {
            if (observer.notices.back() == N(NoticeId::kCopyingTo, 1)) {
                largestOnTheWay = std::max(largestOnTheWay, chunkWritten - medium.onMedium);
                longestWrite = std::max(longestWrite, size);
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
        EXPECT_EQ(longestWrite, c.longestWrite);
        EXPECT_GT(observer.diskBarRedraws, 0);
        TakeOutDisk(1);
    }
}

// A disk after the first starts with half a second of the pace the medium took the disk
// before on its way, rather than waiting for the medium after its first block.
TEST_F(WriteBehindTest, ALaterDiskStartsAtThePaceOfTheDiskBefore) {
    struct Case {
        const char* name;
        double pace;
        std::int64_t firstWaitFrom;  // bytes of the chunk written before the first wait
        std::int64_t firstWaitTo;
    };
    constexpr std::int64_t kTwoRuns = 2 * kCopyRunBytes;
    for (const Case& c :
         {Case{"unknown", 0, 0, kTwoRuns}, Case{"stick-like", 4e6, 2'000'000, 2'000'000 + kTwoRuns},
          Case{"disk-like, never before the end", 1e9, 8 << 20, 8 << 20}}) {
        SCOPED_TRACE(c.name);
        std::int64_t written = 0;
        std::int64_t firstWait = -1;
        files.beforeWriteBackWait = [&](std::int64_t, std::int64_t) {
            firstWait = firstWait < 0 ? written : firstWait;
            return true;
        };
        files.beforeWrite = [&written](std::size_t size) {
            written += static_cast<std::int64_t>(size);
            return true;
        };
        const std::string path = tmp / "ut.bin";
        WriteBytes(tmp / "inn.bin", PatternBytes(8 << 20, 1));
        auto in = files.OpenRegular(tmp / "inn.bin", Links::Refuse, {});
        auto out = files.CreateNew(path);
        ASSERT_TRUE(in && out);
        double pace = c.pace;
        std::int64_t done = 0;
        Reports reports(seams, transfer);
        ASSERT_TRUE(CopyChunk(seams, reports, *in, *out, 8 << 20, done, 8 << 20, kFromSource,
                              nullptr, &pace)
                        .ok());
        EXPECT_GE(firstWait, c.firstWaitFrom);
        EXPECT_LE(firstWait, c.firstWaitTo);
        EXPECT_GT(pace, 0);
        std::filesystem::remove(path);
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
