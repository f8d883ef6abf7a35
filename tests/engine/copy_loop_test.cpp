#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "engine/copy_loop.h"
#include "engine/scripted_questions.h"
#include "screen/presenter.h"

namespace torvanik::testing {
namespace {

// A bar drawn by the copy loop: which one, how far the transfer was, and its length.
struct Redraw {
    char bar;
    std::int64_t done;
    int length;

    bool operator==(const Redraw&) const = default;
};

void PrintTo(const Redraw& r, std::ostream* os) {
    *os << r.bar << "@" << r.done << "=" << r.length;
}

int Pixels(std::int64_t part, std::int64_t whole) {
    return static_cast<int>(static_cast<double>(part) / (static_cast<double>(whole) / 440) + 0.5);
}

// The bars as a loop that reads and writes one block at a time draws them.
std::vector<Redraw> BlockByBlock(std::int64_t chunkSize, std::int64_t done, std::int64_t total) {
    std::vector<Redraw> redraws;
    int disk = 0;
    int whole = Pixels(done, total);
    for (std::int64_t sum = 0; sum < chunkSize && done < total;) {
        const std::int64_t block =
            std::min({static_cast<std::int64_t>(CopyBlockSize), total - done, chunkSize - sum});
        sum += block;
        done += block;
        if (Pixels(sum, chunkSize) > disk) {
            disk = Pixels(sum, chunkSize);
            redraws.push_back({'d', done, disk});
        }
        if (Pixels(done, total) > whole) {
            whole = Pixels(done, total);
            redraws.push_back({'t', done, whole});
        }
    }
    return redraws;
}

// Moves no bytes; keeps the size of every read and write and the write-back ranges.
class CountingFiles : public FileSystem {
  public:
    std::vector<std::size_t> reads;
    std::vector<std::size_t> writes;
    std::vector<std::pair<std::int64_t, std::int64_t>> writeBacks;
    std::vector<std::pair<std::int64_t, std::int64_t>> waits;
    std::int64_t position = 0;

    Result<std::size_t> Read(void*, std::size_t size, File&) override {
        reads.push_back(size);
        return size;
    }
    Result<void> Write(const void*, std::size_t size, File&) override {
        writes.push_back(size);
        return {};
    }
    void StartWriteBack(File&, std::int64_t offset, std::int64_t length) override {
        writeBacks.emplace_back(offset, length);
    }
    Result<void> WaitForWriteBack(File&, std::int64_t offset, std::int64_t length) override {
        waits.emplace_back(offset, length);
        return {};
    }
    Result<std::int64_t> Position(File&) override { return position; }
    // A medium that takes everything at once: a nanosecond passes at each look at the
    // clock, however busy the machine is.
    std::chrono::steady_clock::time_point Now() override {
        return now += std::chrono::nanoseconds(1);
    }

  private:
    std::chrono::steady_clock::time_point now;
};

// The presenter, drawing nothing, that keeps each bar it draws anew.
class BarObserver : public Presenter {
  public:
    BarObserver() : Presenter(CanvasSource::WithoutSurface()) {}
    std::vector<Redraw> redraws;

    void ChunkCopied(const ChunkProgress& progress) override {
        const ScreenRecord before = record();
        Presenter::ChunkCopied(progress);
        if (record().lastDiskBar > before.lastDiskBar) {
            redraws.push_back({'d', progress.done, record().barLength[0]});
        }
        if (record().lastTotalBar > before.lastTotalBar) {
            redraws.push_back({'t', progress.done, record().barLength[1]});
        }
    }
};

struct ChunkCase {
    const char* label;
    std::int64_t chunkSize;
    std::int64_t done;  // of the whole transfer, before the chunk
    std::int64_t total;
};

void PrintTo(const ChunkCase& c, std::ostream* os) {
    *os << c.label;
}

class CopyLoopTest : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(CopyLoopTest, RunsDrawTheBarsAtTheBlocksAndLengthsOfSingleBlocks) {
    const ChunkCase& c = GetParam();
    DriveMap drives;
    ScriptedQuestions questions;
    CountingFiles files;
    files.position = c.done;
    std::int64_t done = c.done;
    BarObserver observer;
    observer.record().lastNotice = NoticeOf(NoticeId::kCopyingTo, 2);
    observer.record().panelShowsFree = true;
    observer.record().lastTotalBar = Pixels(c.done, c.total);
    DriveChoice drive;
    const EngineSeams seams{questions, files, drives, drive, &observer};
    Transfer transfer;
    Reports reports(seams, transfer);

    File in;
    File out;
    EXPECT_TRUE(CopyChunk(seams, reports, in, out, c.chunkSize, done, c.total, kFromSource).ok());

    EXPECT_EQ(observer.redraws, BlockByBlock(c.chunkSize, c.done, c.total));
    const std::int64_t moved = std::min(c.chunkSize, c.total - c.done);
    EXPECT_EQ(done, c.done + moved);
    EXPECT_EQ(files.reads, files.writes);
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < files.writes.size(); ++i) {
        const auto size = static_cast<std::int64_t>(files.writes[i]);
        EXPECT_LE(size, kCopyRunBytes);
        if (i + 1 < files.writes.size()) {
            EXPECT_EQ(size % static_cast<std::int64_t>(CopyBlockSize), 0) << "write " << i;
        }
        sum += size;
    }
    EXPECT_EQ(sum, moved);
    // On this medium, which takes everything at once, only the first writes wait to learn
    // its pace; the rest are runs of the longest length.
    EXPECT_LE(files.writes.size(), static_cast<std::size_t>(moved / kCopyRunBytes + 3));
    // What is written is sent on to the medium in order, and waited for in order until
    // all of it is there.
    for (const auto& ranges : {files.writeBacks, files.waits}) {
        std::int64_t at = c.done;
        for (const auto& [offset, length] : ranges) {
            EXPECT_EQ(offset, at);
            at += length;
        }
        EXPECT_LE(at, c.done + moved);
    }
    ASSERT_FALSE(files.waits.empty());
    EXPECT_EQ(files.waits.back().first + files.waits.back().second, c.done + moved);
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, CopyLoopTest,
    // A floppy's bar grows at every block; a large chunk's after several runs.
    ::testing::Values(ChunkCase{"Floppy", 1'457'664, 1'457'664, 4'000'000},
                      ChunkCase{"LargeOneChunk", 256 << 20, 0, 256 << 20},
                      ChunkCase{"NotWholeBlocks", 5'000'001, 1'000'000, 12'345'678},
                      ChunkCase{"JoinEndsBeforeTheChunk", 9'000'000, 20'000'000, 23'000'000}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace torvanik::testing
