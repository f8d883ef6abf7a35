#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/check_file.h"
#include "engine/record_store.h"
#include "engine_fixture.h"
#include "platform/child_process.h"
#include "platform/floppy_formats.h"

namespace torvanik::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The room a blank 1.44 MB floppy has for files.
constexpr std::uint64_t kFloppyRoom = 1'457'664;

// A split with parity disks onto drive A:, a folder the size of a floppy; each disk taken
// out into disk<N> once written.
class ParitySplitTest : public EngineTest {
  protected:
    ParitySplitTest() {
        drives.Set(0, {driveDir, kFloppyRoom});
        seams.records = &records;
    }

    // Splits `source` with `parity` parity disks; the number of disks written.
    int SplitAll(const std::string& source, int parity) {
        drives.settings().parityDisks = parity;
        Split(source);
        int disk = 0;
        while (Armed() && disk < 50) {
            ++disk;
            const StepOutcome outcome = Klar();
            EXPECT_TRUE(outcome.result == StepResult::kAdvanced ||
                        outcome.result == StepResult::kFinished)
                << disk << ": " << outcome.why.text;
            TakeOutDisk(disk);
        }
        return disk;
    }

    // Every disk's files but those of `lost` in one folder.
    std::string Gathered(int disks, std::vector<int> lost, const std::string& name) {
        const fs::path all = tmp / name;
        fs::create_directories(all);
        for (int disk = 1; disk <= disks; ++disk) {
            if (std::find(lost.begin(), lost.end(), disk) != lost.end()) {
                continue;
            }
            for (const auto& entry : fs::directory_iterator(OnDisk(disk, ""))) {
                fs::copy_file(entry.path(), all / entry.path().filename(),
                              fs::copy_options::overwrite_existing);
            }
        }
        return all;
    }

    // The chunks in `folder`, one after the other.
    static std::vector<char> Catenated(const std::string& folder, int dataDisks) {
        std::vector<char> whole;
        for (int disk = 1; disk <= dataDisks; ++disk) {
            const auto chunk = ReadBytes(folder + "/bilde_bmp_" + std::to_string(disk));
            whole.insert(whole.end(), chunk.begin(), chunk.end());
        }
        return whole;
    }

    static int Par2(const std::string& verb, const std::string& folder) {
        const Result<ChildOutput> run = RunChild({"par2", verb, "-q", folder + "/bilde_bmp.par2"});
        return run ? run->status : -1;
    }

    RecordStore records{tmp / "state"};
};

struct ParityCase {
    const char* name;
    int parity;
    std::vector<std::vector<int>> lost;  // the disks taken away at each repair
};

class ParitySetsTest : public ParitySplitTest, public ::testing::WithParamInterface<ParityCase> {};

// The set fits its disks, `par2` finds it whole, and rebuilds it without any single disk
// (or as many as it has parity disks), disk 1 and a parity disk among them.
TEST_P(ParitySetsTest, ParRepairsTheSetWithoutAnyDisk) {
    if (!OnPath("par2")) {
        GTEST_SKIP() << "par2 is not installed";
    }
    const int parity = GetParam().parity;
    const std::string source = MakeSource("bilde.bmp", 3'500'000);
    const int disks = SplitAll(source, parity);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneSeveral));
    ASSERT_EQ(disks, 3 + parity);

    const std::string identity = CheckFileName(transfer.setIdentity);
    for (int disk = 1; disk <= disks; ++disk) {
        std::uint64_t used = 0;
        for (const auto& entry : fs::directory_iterator(OnDisk(disk, ""))) {
            used += (entry.file_size() + 511) / 512 * 512;
        }
        EXPECT_LE(used, kFloppyRoom) << disk;
    }
    for (int k = 1; k <= parity; ++k) {
        const std::string volume = "bilde_bmp.vol0" + std::to_string(k - 1) + "+01.par2";
        EXPECT_THAT(NamesIn(OnDisk(3 + k, "")), ElementsAre(identity, "bilde_bmp.par2", volume));
    }
    EXPECT_EQ(Par2("v", Gathered(disks, {}, "all")), 0);

    const auto original = ReadBytes(source);
    for (const std::vector<int>& lost : GetParam().lost) {
        std::string name = "without";
        for (const int disk : lost) {
            name += "-" + std::to_string(disk);
        }
        SCOPED_TRACE(name);
        const std::string folder = Gathered(disks, lost, name);
        ASSERT_EQ(Par2("r", folder), 0);
        EXPECT_EQ(Catenated(folder, 3), original);
    }
}

INSTANTIATE_TEST_SUITE_P(Sets, ParitySetsTest,
                         ::testing::Values(ParityCase{"OneParityDisk", 1, {{1}, {2}, {3}}},
                                           ParityCase{
                                               "TwoParityDisks", 2, {{2}, {5}, {1, 3}, {3, 5}}}),
                         [](const auto& info) { return std::string(info.param.name); });

// UT says how many disks the set takes where the drive's blank disks have a known room: a
// folder with a capacity, or floppy images of the format the drive makes.
TEST_F(ParitySplitTest, UtSaysTheDisksOfTheSetWhereTheirRoomIsKnown) {
    const std::string source = MakeSource("bilde.bmp", 5'000'000);
    struct Case {
        const char* name;
        DriveMapping drive;
        const char* told;
    };
    const Case cases[] = {
        {"folder with capacity",
         {driveDir, kFloppyRoom},
         "Settet får 4 disketter og 1 paritetsdiskett."},
        {"720k images",
         {tmp / "images", std::nullopt, DriveKind::Images, {}, 0, FloppyFormatNamed("720k")},
         "Settet får 7 disketter og 1 paritetsdiskett."},
        {"folder of any size", {driveDir, std::nullopt}, nullptr},
    };
    drives.settings().parityDisks = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        drives.Set(0, c.drive);
        observer.reasons.clear();
        Split(source);
        if (c.told != nullptr) {
            EXPECT_THAT(observer.reasons, ElementsAre(c.told));
        } else {
            EXPECT_TRUE(observer.reasons.empty());
        }
    }
}

// A disk without room for a whole slice is full, however much it has: a data disk after
// disk 1, or a parity disk. The step goes through on a disk with room.
TEST_F(ParitySplitTest, ADiskWithoutRoomForASliceIsFull) {
    const std::string source = MakeSource("bilde.bmp", 3'500'000);
    drives.settings().parityDisks = 1;
    Split(source);
    Klar();
    TakeOutDisk(1);
    const auto slice = transfer.parity.sliceSize;
    for (int disk = 2; disk <= 4; ++disk) {
        SCOPED_TRACE(disk);
        if (disk != 3) {
            files.freeBytes = std::optional<std::uint64_t>(slice - 4);
            EXPECT_EQ(Klar().result, StepResult::kDiskFull);
            EXPECT_EQ(screen().lastNotice, N(NoticeId::kDiskFull));
            EXPECT_THAT(observer.reasons.back(), HasSubstr("hel del av settet"));
            EXPECT_TRUE(DriveFiles().empty());
            files.freeBytes.reset();
        }
        EXPECT_EQ(Klar().result, disk == 4 ? StepResult::kFinished : StepResult::kAdvanced);
        TakeOutDisk(disk);
    }
}

// A stop while a parity disk is written or read back leaves the disk as it was; the next
// KLAR writes it.
TEST_F(ParitySplitTest, AStoppedParityDiskIsLeftAsItWas) {
    StopToken stop;
    seams.stop = &stop;
    drives.settings().parityDisks = 1;
    Split(MakeSource("bilde.bmp", 2'000'000));
    for (int disk = 1; disk <= 2; ++disk) {
        Klar();
        TakeOutDisk(disk);
    }
    const std::function<void()> stopPoints[] = {
        [&] {
            files.beforeWrite = [&stop](std::size_t size) {
                if (size > 100'000) {
                    stop.Request();
                }
                return true;
            };
        },
        [&] {
            files.spoilReadBack = [&stop](char*, std::int64_t got, std::int64_t) {
                stop.Request();
                return got;
            };
        },
    };
    for (const auto& stopThere : stopPoints) {
        stopThere();
        EXPECT_EQ(Klar().result, StepResult::kStopped);
        EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertParityDisk, 1));
        EXPECT_TRUE(DriveFiles().empty());
        files.beforeWrite = nullptr;
        files.spoilReadBack = nullptr;
        stop.Clear();
    }
    EXPECT_EQ(Klar().result, StepResult::kFinished);
}

// A source read that fails, for the chunks' first bytes or in any chunk's window whichever
// worker reads it, fails the parity disk with the source's reason and leaves the disk as it
// was; the next KLAR writes it.
TEST_F(ParitySplitTest, AFailedSourceReadFailsTheParityDisk) {
    drives.settings().parityDisks = 1;
    Split(MakeSource("bilde.bmp", 3'500'000));
    for (int disk = 1; disk <= 3; ++disk) {
        Klar();
        TakeOutDisk(disk);
    }
    const auto slice = static_cast<std::int64_t>(transfer.parity.sliceSize);
    struct FailedRead {
        std::int64_t at;
        std::size_t atLeast;  // bytes: more than the first 16 KiB is a window's read
    };
    const FailedRead failedReads[] = {
        {0, 1}, {0, 16'385}, {slice + 1'048'576, 1}, {2 * slice, 16'385}};
    for (const FailedRead failed : failedReads) {
        SCOPED_TRACE(failed.at);
        files.beforeReadAt = [failed](std::int64_t offset, std::size_t size) {
            errno = EIO;
            return offset != failed.at || size < failed.atLeast;
        };
        EXPECT_EQ(Klar().result, StepResult::kSameDisk);
        EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertParityDisk, 1));
        EXPECT_THAT(observer.reasons.back(), HasSubstr("Kildefilen kan ikke leses"));
        EXPECT_TRUE(DriveFiles().empty());
    }
    files.beforeReadAt = nullptr;
    EXPECT_EQ(Klar().result, StepResult::kFinished);
}

// A split stopped after its data disks goes on with its parity disks.
TEST_F(ParitySplitTest, AStoppedSplitGoesOnWithItsParityDisks) {
    const std::string source = MakeSource("bilde.bmp", 3'500'000);
    drives.settings().parityDisks = 2;
    Split(source);
    for (int disk = 1; disk <= 4; ++disk) {
        Klar();
        TakeOutDisk(disk);
    }
    const ParityState before = transfer.parity;
    transfer = Transfer{};
    drives.settings().parityDisks = 0;
    questions.resumeAnswers.push_back(true);
    Split(source);
    EXPECT_EQ(transfer.parity, before);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertParityDisk, 2));
    EXPECT_EQ(Klar().result, StepResult::kFinished);
    EXPECT_THAT(NamesIn(driveDir), ElementsAre(CheckFileName(transfer.setIdentity),
                                               "bilde_bmp.par2", "bilde_bmp.vol01+01.par2"));
}

}  // namespace
}  // namespace torvanik::testing
