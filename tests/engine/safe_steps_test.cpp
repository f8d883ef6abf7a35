#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "engine/check_file.h"
#include "engine/disk_commit.h"
#include "engine/disk_set.h"
#include "engine/settings.h"
#include "engine/stop_token.h"
#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;

// The medium refuses the write that goes past `bytes`, once, after taking what fits.
std::function<void(FaultyFileSystem&)> RefuseOnceAfter(std::int64_t bytes, int error) {
    return [bytes, error](FaultyFileSystem& f) { f.refuseOnce = {bytes, error}; };
}

// Runs `body` in a child process and returns its exit status (128 + signal when killed).
template <typename Body>
int InChild(Body body) {
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

class SafeStepsTest : public EngineTest {
  protected:
    void SetUp() override { files.freeBytes = std::optional<std::uint64_t>(1'000'000); }

    // A one-disk set "gammel.txt" left in the drive.
    void LeaveOlderSet() {
        older = ReadBytes(MakeSource("gammel.txt", 5'000, 7));
        Split(tmp / "gammel.txt");
        Klar();
        ASSERT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneOne));
        olderInfo = ReadBytes(OnDrive("INFO.FIL"));
        olderCheckFile = CheckFileName(transfer.setIdentity);
    }

    void ExpectOlderSetJoinable() {
        EXPECT_EQ(DriveFiles(),
                  (std::vector<std::string>{"INFO.FIL", olderCheckFile, "gammel_txt_1"}));
        EXPECT_EQ(ReadBytes(OnDrive("INFO.FIL")), olderInfo);
        Join(tmp / "gammel.kopi");
        Klar();
        EXPECT_EQ(ReadBytes(tmp / "gammel.kopi"), older);
    }

    // Runs the split from `disk` on, each disk taken out after its KLAR; the last disk.
    int FinishSplit(int disk = 1) {
        for (; Armed() && disk < 50; ++disk) {
            Klar();
            TakeOutDisk(disk);
        }
        return disk - 1;
    }

    void ExpectJoinsTo(const std::vector<char>& original, int disks) {
        PutInDisk(1);
        Join(tmp / "joined");
        for (int disk = 2; disk <= disks + 1; ++disk) {
            Klar();
            if (disk <= disks) {
                PutInDisk(disk);
            }
        }
        EXPECT_EQ(ReadBytes(tmp / "joined"), original);
    }

    std::vector<char> older;
    std::vector<char> olderInfo;
    std::string olderCheckFile;
};

struct DiskOneFault {
    const char* label;
    std::function<void(FaultyFileSystem&)> arm;
    Notice notice;
    const char* reason;
};

class FailedDiskOneTest : public SafeStepsTest,
                          public ::testing::WithParamInterface<DiskOneFault> {};

TEST_P(FailedDiskOneTest, KeepsTheOlderSetWholeAndSaysWhy) {
    LeaveOlderSet();
    Split(MakeSource("bilde.bmp", 2'500'000));
    GetParam().arm(files);
    Klar();
    EXPECT_EQ(screen().lastNotice, GetParam().notice);
    EXPECT_EQ(transfer.bytesWritten, 0);
    EXPECT_THAT(observer.reasons, ElementsAre(GetParam().reason));
    files = {};
    files.freeBytes = std::optional<std::uint64_t>(1'000'000);
    ExpectOlderSetJoinable();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedDiskOneTest,
    ::testing::Values(
        DiskOneFault{"WriteError", RefuseOnceAfter(300'000, EIO), N(NoticeId::kInsertDiskAgain, 1),
                     "Skrivefeil på disketten: Input/output error"},
        DiskOneFault{"RefusedBeforeAKilobyte", RefuseOnceAfter(1000, ENOSPC),
                     N(NoticeId::kDiskFull), "Ingen plass igjen på disketten"},
        DiskOneFault{"NoRoomAfterInfoFile",
                     [](FaultyFileSystem& f) { f.freeBytes = std::optional<std::uint64_t>(1023); },
                     N(NoticeId::kDiskFull), "Ingen plass igjen på disketten"},
        DiskOneFault{"RenameFails",
                     [](FaultyFileSystem& f) {
                         f.beforeRename = [](const std::string&) {
                             errno = EIO;
                             return false;
                         };
                     },
                     N(NoticeId::kInsertDiskAgain, 1),
                     "Skrivefeil på disketten: Input/output error"},
        DiskOneFault{"MediumLostTheChunk",
                     [](FaultyFileSystem& f) {
                         f.afterRename = [](const std::string& to) {
                             if (to.ends_with("_1")) {
                                 truncate(to.c_str(), 10);
                             }
                         };
                     },
                     N(NoticeId::kInsertDiskAgain, 1),
                     "Disketten ble tatt ut eller byttet under kopieringen"}),
    [](const auto& info) { return std::string(info.param.label); });

class RefusedMidChunkTest : public SafeStepsTest, public ::testing::WithParamInterface<int> {};

TEST_P(RefusedMidChunkTest, ChunkEndsAtTheLastByteWrittenAndTheSplitGoesOn) {
    const auto original = ReadBytes(MakeSource("bilde.bmp", 2'500'000));
    Split(tmp / "bilde.bmp");
    RefuseOnceAfter(500'000, GetParam())(files);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 2));
    // The chunk ends at the medium's last byte: what the disk's other files left of it.
    std::uintmax_t others = 0;
    for (const std::string& name : DriveFiles()) {
        others += name == "bilde_bmp_1" ? 0 : fs::file_size(OnDrive(name));
    }
    EXPECT_EQ(fs::file_size(OnDrive("bilde_bmp_1")), 500'000u - others);
    TakeOutDisk(1);
    ExpectJoinsTo(original, FinishSplit(2));
}

INSTANTIATE_TEST_SUITE_P(Errors, RefusedMidChunkTest, ::testing::Values(ENOSPC, EFBIG));

TEST_F(SafeStepsTest, ChunkIsNoLargerThanTheLargestFile) {
    const auto original = ReadBytes(MakeSource("bilde.bmp", 2'500'000));
    files.largestFile = 700'000;
    Split(tmp / "bilde.bmp");
    EXPECT_EQ(FinishSplit(), 4);
    EXPECT_EQ(fs::file_size(OnDisk(3, "bilde_bmp_3")), 700'000u);
    ExpectJoinsTo(original, 4);
}

// The process's own file-size limit, as a small medium's largest file; the engine sees it
// as the limit (or, through the seam, only when a write is refused).
class FileSizeLimitTest : public SafeStepsTest, public ::testing::WithParamInterface<bool> {};

TEST_P(FileSizeLimitTest, SplitsIntoChunksWithinTheLimitAndJoinsBack) {
    const auto original = ReadBytes(MakeSource("bilde.bmp", 2'500'000));
    files.freeBytes = std::optional<std::uint64_t>(10'000'000);
    if (GetParam()) {
        files.largestFile = 10'000'000;
    }
    const int status = InChild([this] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1'000'000, 1'000'000};
        setrlimit(RLIMIT_FSIZE, &limit);
        Split(tmp / "bilde.bmp");
        return FinishSplit() == 3;
    });
    ASSERT_EQ(status, 0);
    files.freeBytes = std::optional<std::uint64_t>(1'000'000);
    EXPECT_LE(fs::file_size(OnDisk(1, "bilde_bmp_1")), 1'000'000u);
    EXPECT_LE(fs::file_size(OnDisk(2, "bilde_bmp_2")), 1'000'000u);
    ExpectJoinsTo(original, 3);
}

INSTANTIATE_TEST_SUITE_P(KnownOrFoundByWriting, FileSizeLimitTest, ::testing::Bool());

// A tmpfs mounted on the drive's folder for the test; tests skip where mounting is not
// allowed.
class SmallMediumTest : public SafeStepsTest {
  protected:
    void SetUp() override {
        if (mount("tmpfs", driveDir.c_str(), "tmpfs", 0, "size=256k") != 0) {
            GTEST_SKIP() << "tmpfs can't be mounted here (" << std::strerror(errno) << ")";
        }
        mounted = true;
    }
    void TearDown() override {
        if (mounted) {
            umount2(driveDir.c_str(), MNT_DETACH);
        }
    }
    bool mounted = false;
};

TEST_F(SmallMediumTest, FullDiskOneKeepsTheOlderSetJoinable) {
    LeaveOlderSet();
    std::ofstream filler(OnDrive("fyll"), std::ios::binary);
    const std::vector<char> block(4096, 'x');
    while (filler.write(block.data(), block.size()) && filler.flush()) {
    }
    filler.close();
    Split(MakeSource("bilde.bmp", 100'000));
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kDiskFull));
    fs::remove(OnDrive("fyll"));
    ExpectOlderSetJoinable();
}

// The disk taken out as the drive's folder is flushed, its files already under their names:
// the step fails, nothing counts as written, and the same disk is asked for again. Here the
// drive's path is made to lead to another folder; below, a real file system goes.
void ExpectTakenOutDiskAskedAgain(EngineTest& test, const std::function<void()>& takeOut,
                                  const std::function<void()>& putBack) {
    test.Split(test.MakeSource("bilde.bmp", 100'000));
    bool taken = false;
    test.files.beforeSyncFolder = [&](const std::string&) {
        if (!std::exchange(taken, true)) {
            takeOut();
        }
    };
    EXPECT_EQ(test.Klar().result, StepResult::kSameDisk);
    EXPECT_EQ(test.screen().lastNotice, N(NoticeId::kInsertDiskAgain, 1));
    EXPECT_THAT(test.observer.reasons, ElementsAre("Disketten ble tatt ut under kopieringen"));
    EXPECT_TRUE(test.DriveFiles().empty());
    putBack();
    EXPECT_EQ(test.Klar().result, StepResult::kFinished);
    EXPECT_THAT(test.DriveFiles(), Contains("bilde_bmp_1"));
}

TEST_F(SafeStepsTest, DiskTakenOutAsItsFolderIsFlushedIsNotWritten) {
    ExpectTakenOutDiskAskedAgain(
        *this,
        [this] {
            fs::rename(driveDir, driveDir + "-ute");
            fs::create_directory(driveDir);
        },
        [] {});
}

TEST_F(SmallMediumTest, DiskUnmountedLazilyAsItsFolderIsFlushedIsNotWritten) {
    ExpectTakenOutDiskAskedAgain(
        *this, [this] { ASSERT_EQ(umount2(driveDir.c_str(), MNT_DETACH), 0); },
        [this] { ASSERT_EQ(mount("tmpfs", driveDir.c_str(), "tmpfs", 0, "size=256k"), 0); });
}

// A disk taken out while its chunk is read counts only when every byte read matched its
// check file.
TEST_F(SafeStepsTest, DiskTakenOutWhileReadCountsOnlyWhenItsCheckFileVouchedForIt) {
    for (const bool withCheckFile : {true, false}) {
        Reset();
        fs::remove_all(driveDir);
        fs::create_directory(driveDir);
        drives.settings().checkFile = withCheckFile;
        const auto original = ReadBytes(MakeSource("bilde.bmp", 100'000));
        Split(tmp / "bilde.bmp");
        Klar();
        Join(tmp / "joined");
        bool taken = false;
        files.beforeWrite = [&](std::size_t) {
            if (!std::exchange(taken, true)) {
                fs::rename(driveDir, driveDir + "-ute");
                fs::create_directory(driveDir);
            }
            return true;
        };
        const StepResult result = Klar().result;
        files.beforeWrite = nullptr;
        fs::remove_all(driveDir);
        fs::rename(driveDir + "-ute", driveDir);
        if (withCheckFile) {
            EXPECT_EQ(result, StepResult::kFinished);
            EXPECT_EQ(ReadBytes(tmp / "joined"), original);
        } else {
            EXPECT_EQ(result, StepResult::kSameDisk);
            EXPECT_THAT(observer.reasons, Contains("Disketten ble tatt ut under kopieringen"));
        }
    }
}

// Wherever a stop comes before the files are placed, the step ends as a failed one and the
// disk is as it was; the next step, without a stop, writes the disk.
TEST_F(SafeStepsTest, StopRequestEndsTheStepAsAFailedOne) {
    StopToken stop;
    seams.stop = &stop;
    const std::map<std::string, std::function<void()>> stopPoints = {
        {"copying",
         [&] {
             files.beforeWrite = [&stop, left = 300'000](std::size_t size) mutable {
                 if ((left -= static_cast<int>(size)) < 0) {
                     stop.Request();
                 }
                 return true;
             };
         }},
        {"reading back",
         [&] {
             files.spoilReadBack = [&stop](char*, std::int64_t got, std::int64_t) {
                 stop.Request();
                 return got;
             };
         }},
        {"after the copy, not read back",
         [&] {
             drives.settings().readBack = false;
             files.beforeCommit = [&stop, commits = 0]() mutable {
                 if (++commits == 2) {  // INFO.FIL's, then the chunk's
                     stop.Request();
                 }
                 return true;
             };
         }},
    };
    Split(MakeSource("bilde.bmp", 2'500'000));
    for (const auto& [when, stopThere] : stopPoints) {
        stopThere();
        EXPECT_EQ(Klar().result, StepResult::kStopped) << when;
        EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 1)) << when;
        EXPECT_TRUE(DriveFiles().empty()) << when;
        EXPECT_EQ(transfer.bytesWritten, 0) << when;
        EXPECT_THAT(observer.reasons, Contains("Avbrutt")) << when;
        files.beforeWrite = nullptr;
        files.spoilReadBack = nullptr;
        files.beforeCommit = nullptr;
        drives.settings().readBack = true;
        stop.Clear();
    }
    EXPECT_EQ(Klar().result, StepResult::kAdvanced);
}

TEST_F(SafeStepsTest, KilledSplitLeavesNoPartialFileUnderAFinalName) {
    Split(MakeSource("bilde.bmp", 2'500'000));
    const int status = InChild([this] {
        files.beforeWrite = [left = 300'000](std::size_t size) mutable {
            if ((left -= static_cast<int>(size)) < 0) {
                raise(SIGKILL);
            }
            return true;
        };
        Klar();
        return true;
    });
    ASSERT_EQ(status, 128 + SIGKILL);
    for (const auto& name : DriveFiles()) {
        EXPECT_TRUE(name.starts_with(kTemporaryPrefix)) << name;
    }
    // The next step removes the temporaries, and nothing else.
    WriteBytes(OnDrive("annet.txt"), PatternBytes(100));
    Klar();
    EXPECT_EQ(DriveFiles(),
              (std::vector<std::string>{"INFO.FIL", CheckFileName(transfer.setIdentity),
                                        "annet.txt", "bilde_bmp_1"}));
}

TEST_F(SafeStepsTest, DriveInUseByAnotherProgramFailsTheStep) {
    Split(MakeSource("bilde.bmp", 2'500'000));
    // The other program reaches the same folder through a path of its own.
    fs::create_symlink(driveDir, tmp / "samme-stasjon");
    FileSystem other;
    auto lock = other.LockFolder(tmp / "samme-stasjon");
    ASSERT_TRUE(lock);
    Klar();
    *lock = File();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 1));
    EXPECT_THAT(observer.reasons, ElementsAre("Stasjonen brukes av et annet program"));
    EXPECT_TRUE(DriveFiles().empty());
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 2));
}

TEST_F(SafeStepsTest, EachStepStartsFromTheState) {
    const auto original = ReadBytes(MakeSource("bilde.bmp", 2'500'000));
    Split(tmp / "bilde.bmp");
    Klar();
    TakeOutDisk(1);
    static_cast<void>(files.Seek(transfer.source, 0));
    const int disks = FinishSplit(2);

    PutInDisk(1);
    Join(tmp / "joined");
    Klar();
    PutInDisk(2);
    Klar();
    PutInDisk(3);
    Klar();
    EXPECT_EQ(disks, 3);
    EXPECT_EQ(ReadBytes(tmp / "joined"), original);
}

TEST_F(SafeStepsTest, FifoAsSourceOrInfoFileIsRefusedAtOnce) {
    ASSERT_EQ(mkfifo((tmp / "kilde").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(OnDrive("INFO.FIL").c_str(), 0600), 0);
    // An open that waited on the FIFO would hang here.
    Split(tmp / "kilde");
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain));
    Join(tmp / "joined");
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskOneForJoin));
    EXPECT_THAT(observer.reasons,
                ElementsAre("Kildefilen er ikke en vanlig fil", "INFO.FIL er ikke en vanlig fil"));
}

TEST_F(SafeStepsTest, LinksOnTheDriveAreReplacedAndTheirTargetsUntouched) {
    WriteBytes(tmp / "mål1", PatternBytes(50));
    WriteBytes(tmp / "mål2", PatternBytes(60));
    fs::create_symlink(tmp / "mål1", OnDrive("INFO.FIL"));
    fs::create_symlink(tmp / "mål2", OnDrive("bilde_bmp_1"));
    Join(tmp / "joined");
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskOneForJoin));

    Split(MakeSource("bilde.bmp", 10'000));
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneOne));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(OnDrive("INFO.FIL"))));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(OnDrive("bilde_bmp_1"))));
    EXPECT_EQ(ReadBytes(tmp / "mål1"), PatternBytes(50));
    EXPECT_EQ(ReadBytes(tmp / "mål2"), PatternBytes(60));
}

TEST_F(SafeStepsTest, FilesOfTheSetAreNeitherSourceNorDestination) {
    LeaveOlderSet();
    Split(OnDrive("INFO.FIL"));
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain));
    for (const char* name : {"INFO.FIL", "gammel_txt_1", "gammel_txt_2"}) {
        Join(OnDrive(name));
        EXPECT_EQ(screen().lastNotice, N(NoticeId::kNoDestination)) << name;
    }
    EXPECT_THAT(observer.reasons, Contains("Målfilen er en av filene i diskettsettet"));
    ExpectOlderSetJoinable();
}

TEST_F(SafeStepsTest, SourceNameWithControlAndReservedCharactersMakesAJoinableSet) {
    EXPECT_EQ(SetNameOf("a\tb\\c/d:e*f?g\"h<i>j|k.txt"), "a_b_c_d_e_f_g_h_i_j_k.txt");
    const auto original = ReadBytes(MakeSource("med\ttab.txt", 5'000));
    Split(tmp / "med\ttab.txt");
    Klar();
    EXPECT_EQ(DriveFiles(), (std::vector<std::string>{
                                "INFO.FIL", CheckFileName(transfer.setIdentity), "med_tab_txt_1"}));
    Join(tmp / "joined");
    Klar();
    EXPECT_EQ(ReadBytes(tmp / "joined"), original);
}

TEST_F(SafeStepsTest, InfoFileLengthTooLargeForThePanelIsUnfit) {
    WriteBytes(OnDrive("INFO.FIL"), {'9', '2', '2', '3', '3', '7', '2', '0', '3',  '6', '8',
                                     '5', '4', '7', '7', '5', '8', '0', '0', '\n', 'x'});
    Join(tmp / "joined");
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskOneForJoin));
}

TEST_F(SafeStepsTest, SettingsAreRenamedIntoPlaceNeverWrittenThroughALink) {
    const std::string path = tmp / "config/torvanik.hsk";
    fs::create_directories(tmp / "config");
    WriteBytes(tmp / "mål", {5, 5});
    fs::create_symlink(tmp / "mål", path);
    drive.driveIndex = 3;
    SaveSettingsTo(path, drive);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
    EXPECT_EQ(ReadBytes(path), (std::vector<char>{3, 0}));
    EXPECT_EQ(ReadBytes(tmp / "mål"), (std::vector<char>{5, 5}));
    EXPECT_EQ(fs::directory_iterator(tmp / "config")->path(), path);
}

}  // namespace
}  // namespace torvanik::testing
