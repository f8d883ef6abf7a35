#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "engine/disk_commit.h"
#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

class FaultsTest : public EngineTest {
  protected:
    void SetUp() override {
        files.freeBytes = std::optional<std::uint64_t>(1'000'000);
        source = MakeSource("bilde.bmp", 2'500'000);
        original = ReadBytes(source);
    }

    // Fails the write, read or commit that comes after `bytes` more bytes went through.
    static std::function<bool(std::size_t)> FailAfter(std::int64_t bytes, int error) {
        return [left = bytes, error](std::size_t size) mutable {
            left -= static_cast<std::int64_t>(size);
            if (left < 0) {
                errno = error;
                return false;
            }
            return true;
        };
    }

    void FinishSplitFrom(int disk) {
        for (; Armed(); ++disk) {
            Klar();
            TakeOutDisk(disk);
        }
    }

    void JoinAllAndCompare(int disks) {
        PutInDisk(1);
        Join(tmp / "joined.bmp");
        for (int disk = 1; disk <= disks; ++disk) {
            if (disk > 1) {
                PutInDisk(disk);
            }
            Klar();
        }
        EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneSeveral));
        EXPECT_EQ(ReadBytes(tmp / "joined.bmp"), original);
    }

    std::string source;
    std::vector<char> original;
};

struct WriteFault {
    const char* label;
    int error;
    Notice notice;
};

class SplitWriteFaultTest : public FaultsTest, public ::testing::WithParamInterface<WriteFault> {};

TEST_P(SplitWriteFaultTest, BrokenChunkIsRemovedAndKlarStartsTheDiskAgain) {
    Split(source);
    Klar();
    TakeOutDisk(1);
    files.beforeWrite = FailAfter(500'000, GetParam().error);
    Klar();
    EXPECT_EQ(screen().lastNotice, GetParam().notice);
    EXPECT_TRUE(DriveFiles().empty());
    EXPECT_EQ(transfer.diskNumber, 2);
    EXPECT_EQ(transfer.bytesWritten, 1'000'000);
    EXPECT_EQ(screen().barLength[0], 0);
    EXPECT_EQ(screen().lastTotalBar, 176);
    EXPECT_EQ(ReadBytes(source), original);

    files.beforeWrite = nullptr;
    FinishSplitFrom(2);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneSeveral));
    JoinAllAndCompare(3);
}

INSTANTIATE_TEST_SUITE_P(
    Causes, SplitWriteFaultTest,
    ::testing::Values(WriteFault{"WriteError", EIO, N(NoticeId::kInsertDiskAgain, 2)},
                      WriteFault{"DeviceGone", ENXIO, N(NoticeId::kInsertDiskAgain, 2)}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(FaultsTest, FailedFlushToTheMediumUndoesTheChunk) {
    Split(source);
    files.beforeCommit = [] {
        errno = EIO;
        return false;
    };
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 1));
    EXPECT_EQ(transfer.bytesWritten, 0);
    files.beforeCommit = nullptr;
    FinishSplitFrom(1);
    JoinAllAndCompare(3);
}

TEST_F(FaultsTest, SourceReadFailureLeavesTheDiskUntouched) {
    Split(source);
    files.beforeRead = FailAfter(300'000, EIO);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 1));
    EXPECT_TRUE(DriveFiles().empty());
    files.beforeRead = nullptr;
    FinishSplitFrom(1);
    JoinAllAndCompare(3);
}

// A call of the first disk's step of a split or of a join that fails with `error` after
// `after` bytes went through it, and what the step tells of it.
struct CopyFault {
    const char* label;
    bool join;
    enum { kRead, kWrite, kCommit, kChunkCreate } call;
    int error;
    std::int64_t after;
    StepResult result;
    std::string reason;
};

class CopyFaultTest : public FaultsTest, public ::testing::WithParamInterface<CopyFault> {};

TEST_P(CopyFaultTest, EachFaultIsToldByItsOwnReason) {
    const CopyFault& c = GetParam();
    Split(source);
    if (c.join) {
        FinishSplitFrom(1);
        PutInDisk(1);
        Join(tmp / "joined.bmp");
    }
    const auto fails = FailAfter(c.after, c.error);
    switch (c.call) {
        case CopyFault::kRead:
            files.beforeRead = fails;
            break;
        case CopyFault::kWrite:
            files.beforeWrite = fails;
            break;
        case CopyFault::kCommit:
            files.beforeCommit = [fails] { return fails(1); };
            break;
        case CopyFault::kChunkCreate:
            files.beforeOpen = [fails](const std::string& path, const char*) {
                return path.find("bilde_bmp") == std::string::npos || fails(1);
            };
            break;
    }
    EXPECT_EQ(Klar().result, c.result);
    EXPECT_EQ(observer.reasons.back(), c.reason);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CopyFaultTest,
    // A file too large counts as a full disk, but is told as the write's error.
    ::testing::Values(CopyFault{"SplitFileTooLarge", false, CopyFault::kWrite, EFBIG, 500,
                                StepResult::kDiskFull, "Skrivefeil på disketten: File too large"},
                      CopyFault{"SplitSourceUnreadable", false, CopyFault::kRead, EIO, 300'000,
                                StepResult::kSameDisk,
                                "Kildefilen kan ikke leses: Input/output error"},
                      CopyFault{"SplitForeignTemporary", false, CopyFault::kChunkCreate, EEXIST, 0,
                                StepResult::kSameDisk,
                                "Noe som ikke er programmets eget, står der programmet skriver "
                                "en fil (.~torvanik.*)"},
                      CopyFault{"JoinFileTooLarge", true, CopyFault::kWrite, EFBIG, 100'000,
                                StepResult::kSameDisk, "Ingen plass igjen til målfilen"},
                      CopyFault{"JoinWriteError", true, CopyFault::kWrite, EIO, 100'000,
                                StepResult::kSameDisk, "Skrivefeil i målfilen: Input/output error"},
                      CopyFault{"JoinCommitFull", true, CopyFault::kCommit, ENOSPC, 0,
                                StepResult::kSameDisk, "Ingen plass igjen til målfilen"},
                      CopyFault{"JoinChunkUnreadable", true, CopyFault::kRead, EIO, 400'000,
                                StepResult::kSameDisk,
                                "Lesefeil på disketten: Input/output error"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(FaultsTest, InfoFileThatCannotBeCreatedAsksForDiskOneAgain) {
    Split(source);
    files.beforeOpen = [](const std::string& path, const char*) {
        return path.find("INFO.FIL") == std::string::npos;
    };
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 1));
    EXPECT_EQ(transfer.diskNumber, 1);
    EXPECT_TRUE(DriveFiles().empty());
    files.beforeOpen = nullptr;
    FinishSplitFrom(1);
    JoinAllAndCompare(3);
}

TEST_F(FaultsTest, ChunkThatCannotBeCreatedLeavesTheExaminingNotice) {
    Split(source);
    files.beforeOpen = [](const std::string& path, const char*) {
        return path.find("bilde_bmp") == std::string::npos;
    };
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kExamining));
    EXPECT_EQ(transfer.diskNumber, 1);
}

TEST_F(FaultsTest, FreeSpaceFailureOrTooLittleRoomIsADiskFull) {
    Split(source);
    files.freeBytes = std::optional<std::uint64_t>(std::nullopt);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kDiskFull));
    EXPECT_EQ(transfer.freeKB, 0);
    files.freeBytes = std::optional<std::uint64_t>(1023);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kDiskFull));
    EXPECT_EQ(transfer.diskNumber, 1);
}

TEST_F(FaultsTest, JoinReadFailureCutsTheJoinedFileBackToTheChunksBefore) {
    Split(source);
    FinishSplitFrom(1);
    PutInDisk(1);
    Join(tmp / "joined.bmp");
    Klar();
    PutInDisk(2);
    files.beforeRead = FailAfter(400'000, EIO);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 2));
    EXPECT_EQ(transfer.diskNumber, 2);
    const auto joined = ReadBytes(tmp / "joined.bmp");
    EXPECT_EQ(joined, std::vector<char>(original.begin(), original.begin() + 1'000'000));

    files.beforeRead = nullptr;
    Klar();
    PutInDisk(3);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneSeveral));
    EXPECT_EQ(ReadBytes(tmp / "joined.bmp"), original);
}

TEST_F(FaultsTest, JoinWriteFailureIsUndoneToo) {
    Split(source);
    FinishSplitFrom(1);
    PutInDisk(1);
    Join(tmp / "joined.bmp");
    files.beforeWrite = FailAfter(700'000, ENOSPC);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 1));
    EXPECT_EQ(std::filesystem::file_size(tmp / "joined.bmp"), 0u);
    files.beforeWrite = nullptr;
    Klar();
    PutInDisk(2);
    Klar();
    PutInDisk(3);
    Klar();
    EXPECT_EQ(ReadBytes(tmp / "joined.bmp"), original);
}

// What the read-back from the medium got, spoilt: `got` bytes read at `offset`.
using Spoil = std::function<std::int64_t(char* bytes, std::int64_t got, std::int64_t offset)>;

Spoil FlipByteAt(std::int64_t at) {
    return [at](char* bytes, std::int64_t got, std::int64_t offset) {
        if (offset <= at && at < offset + got) {
            bytes[at - offset] ^= 0x10;
        }
        return got;
    };
}

struct MediumFault {
    const char* label;
    Spoil spoil;
    std::string reason;
};

class SplitReadBackFaultTest : public FaultsTest,
                               public ::testing::WithParamInterface<MediumFault> {};

TEST_P(SplitReadBackFaultTest, DiskThatGivesBackOtherBytesIsAskedForAgain) {
    Split(source);
    Klar();
    TakeOutDisk(1);
    files.spoilReadBack = GetParam().spoil;
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 2));
    EXPECT_EQ(observer.reasons.back(), GetParam().reason);
    EXPECT_TRUE(DriveFiles().empty());
    EXPECT_EQ(transfer.bytesWritten, 1'000'000);
    files.spoilReadBack = nullptr;
    FinishSplitFrom(2);
    JoinAllAndCompare(3);
}

INSTANTIATE_TEST_SUITE_P(
    Media, SplitReadBackFaultTest,
    ::testing::Values(
        MediumFault{"FlippedByte", FlipByteAt(654'321),
                    "Disketten ga tilbake andre data enn det som ble skrevet: bytt diskett"},
        MediumFault{"Shorter",
                    [](char*, std::int64_t got, std::int64_t offset) {
                        return std::clamp<std::int64_t>(999'000 - offset, 0, got);
                    },
                    "Disketten ga tilbake andre data enn det som ble skrevet: bytt diskett"},
        MediumFault{"CheckFileFlipped",  // the only file read back in so small a piece
                    [](char* bytes, std::int64_t got, std::int64_t) {
                        bytes[0] ^= got < 100 ? 0x10 : 0;
                        return got;
                    },
                    "Disketten ga tilbake andre data enn det som ble skrevet: bytt diskett"},
        MediumFault{"ReadError",
                    [](char*, std::int64_t, std::int64_t) -> std::int64_t {
                        errno = EIO;
                        return -1;
                    },
                    "Disketten kunne ikke leses tilbake etter skrivingen: bytt diskett"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(FaultsTest, EveryFileIsReadBackUnderItsTemporaryNameUnlessTurnedOff) {
    Split(source);
    files.spoilReadBack = FlipByteAt(3);  // inside INFO.FIL, and inside the chunk
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 1));
    EXPECT_TRUE(DriveFiles().empty());
    files.spoilReadBack = nullptr;
    files.readBack.clear();
    FinishSplitFrom(1);
    // The failed INFO.FIL, then INFO.FIL and three chunks; each chunk's check file is read
    // back beside it, unseen.
    EXPECT_EQ(observer.checks, 5);
    ASSERT_EQ(files.readBack.size(), 7u);
    for (const std::string& path : files.readBack) {
        EXPECT_TRUE(std::filesystem::path(path).filename().string().starts_with(kTemporaryPrefix))
            << path;
    }
    drives.settings().readBack = false;
    files.spoilReadBack = FlipByteAt(0);
    Split(source);
    FinishSplitFrom(1);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneSeveral));
    EXPECT_EQ(observer.checks, 5);
}

TEST_F(FaultsTest, JoinedStretchThatReadsBackWrongIsCutOffAndTheDiskAskedForAgain) {
    Split(source);
    FinishSplitFrom(1);
    PutInDisk(1);
    Join(tmp / "joined.bmp");
    Klar();
    PutInDisk(2);
    files.spoilReadBack = FlipByteAt(1'999'999);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 2));
    EXPECT_EQ(observer.reasons.back(), "Målfilen ga tilbake andre data enn det som ble skrevet");
    const auto joined = ReadBytes(tmp / "joined.bmp");
    EXPECT_EQ(joined, std::vector<char>(original.begin(), original.begin() + 1'000'000));
    files.spoilReadBack = nullptr;
    Klar();
    PutInDisk(3);
    Klar();
    EXPECT_EQ(ReadBytes(tmp / "joined.bmp"), original);
}

}  // namespace
}  // namespace torvanik::testing
