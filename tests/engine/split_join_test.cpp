#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <tuple>

#include "engine/copy_loop.h"
#include "engine/disk_set.h"
#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

using ::testing::ElementsAre;

timespec AccessTime(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_atim;
}

timespec WriteTime(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mtim;
}

bool operator==(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

class SplitJoinTest : public EngineTest {
  protected:
    // Splits `source` onto disks of `free` bytes, taking each disk out after its KLAR;
    // returns the number of disks used.
    int SplitOntoDisks(const std::string& source, std::uint64_t free) {
        files.freeBytes = std::optional<std::uint64_t>(free);
        Split(source);
        int disk = 0;
        do {
            Klar();
            TakeOutDisk(++disk);
        } while (Armed());
        return disk;
    }

    // Joins the disks 1..count back into `destination`.
    void JoinFromDisks(const std::string& destination, int count) {
        PutInDisk(1);
        Join(destination);
        for (int disk = 1; disk <= count; ++disk) {
            if (disk > 1) {
                PutInDisk(disk);
            }
            Klar();
        }
    }
};

// The copy loop's redraw of the bars reaches the screen in one present, not one per part.
TEST_F(SplitJoinTest, EachBarRedrawIsOnePresent) {
    struct PresentCounter : RecordingObserver {
        explicit PresentCounter(Surface& on)
            : RecordingObserver(CanvasSource(on, [this] { ++presents; })) {}
        int presents = 0;
        int blocksThatGrew = 0;

        void NoticeShown(NoticeId id, int number) override {
            RecordingObserver::NoticeShown(id, number);
            presents = 0;
        }
        void ChunkCopied(const ChunkProgress& progress) override {
            const int before = diskBarRedraws + totalBarRedraws;
            RecordingObserver::ChunkCopied(progress);
            const bool grew = diskBarRedraws + totalBarRedraws > before;
            EXPECT_EQ(presents, grew ? 1 : 0);
            blocksThatGrew += grew ? 1 : 0;
            presents = 0;
        }
    } counter(surface);
    seams.observer = &counter;
    // More blocks than the bar has pixels: a block that grows no bar presents nothing. (It
    // is reported only where a wait on the medium ends, which the medium's pace decides.)
    constexpr std::size_t kSize = 600 * static_cast<std::size_t>(CopyBlockSize);
    files.freeBytes = std::optional<std::uint64_t>(kSize);
    Split(MakeSource("bilde.bmp", kSize));
    Klar();
    EXPECT_EQ(counter.blocksThatGrew, 440);
}

TEST_F(SplitJoinTest, ThreeDisksOutAndBackIn) {
    const std::string source = MakeSource("bilde.bmp", 2'500'000);
    const auto original = ReadBytes(source);
    const FileTimes times{std::nullopt, {1'500'000'000, 123'456'789}, {1'400'000'000, 987'654'321}};
    ASSERT_TRUE(files.WriteTimes(source, times));

    files.freeBytes = std::optional<std::uint64_t>(1'000'000);
    Split(source);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDisk, 1));
    EXPECT_EQ(ViewState(), VS_SPLIT | VS_NOTICE);
    std::vector<Notice> afterDisk;
    for (int disk = 1; disk <= 3; ++disk) {
        observer.diskBarRedraws = observer.totalBarRedraws = 0;
        Klar();
        afterDisk.push_back(screen().lastNotice);
        EXPECT_EQ(screen().lastDiskBar, BarScale) << "disk " << disk;
        EXPECT_LE(observer.diskBarRedraws, BarScale);
        EXPECT_LE(observer.totalBarRedraws, BarScale);
        TakeOutDisk(disk);
    }
    EXPECT_THAT(afterDisk,
                ElementsAre(N(NoticeId::kInsertDiskAgain, 2), N(NoticeId::kInsertDiskAgain, 3),
                            N(NoticeId::kSplitDoneSeveral)));
    EXPECT_EQ(screen().lastTotalBar, BarScale);
    EXPECT_EQ(ViewState(), VS_NOTICE);
    EXPECT_EQ(transfer.diskNumber, 1);
    EXPECT_EQ(transfer.pending, 0);
    EXPECT_FALSE(transfer.source);

    const auto info = ReadBytes(OnDisk(1, "INFO.FIL"));
    EXPECT_EQ(std::string(info.begin(), info.end()), "2500000\nbilde.bmp");
    EXPECT_EQ(std::filesystem::file_size(OnDisk(1, "bilde_bmp_1")), 1'000'000u);
    EXPECT_EQ(std::filesystem::file_size(OnDisk(2, "bilde_bmp_2")), 1'000'000u);
    EXPECT_EQ(std::filesystem::file_size(OnDisk(3, "bilde_bmp_3")), 500'000u);
    EXPECT_TRUE(WriteTime(OnDisk(2, "bilde_bmp_2")) == times.write);
    EXPECT_EQ(ReadBytes(source), original);

    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kIdlePrompt));

    observer.notices.clear();
    const std::string joined = tmp / "ut/bilde.bmp";
    std::filesystem::create_directories(tmp / "ut");
    JoinFromDisks(joined, 3);
    EXPECT_THAT(questions.destinationInitialNames, ElementsAre("bilde.bmp"));
    std::vector<Notice> shown;
    for (const Notice& n : observer.notices) {
        if (n.firstLine != 11) {
            shown.push_back(n);
        }
    }
    EXPECT_THAT(shown,
                ElementsAre(N(NoticeId::kKeepDiskOne), N(NoticeId::kInsertDiskAgain, 2),
                            N(NoticeId::kInsertDiskAgain, 3), N(NoticeId::kJoinDoneSeveral)));
    // Times first: reading the file may move its access time.
    EXPECT_TRUE(AccessTime(joined) == times.access);
    EXPECT_TRUE(WriteTime(joined) == times.write);
    EXPECT_EQ(ReadBytes(joined), original);
    EXPECT_EQ(ViewState(), VS_NOTICE);
    EXPECT_FALSE(transfer.destination);
}

struct SmallCase {
    const char* label;
    std::size_t size;
    int disks;
    Notice splitDone;
    Notice joinDone;
};

class SmallFilesTest : public SplitJoinTest, public ::testing::WithParamInterface<SmallCase> {};

TEST_P(SmallFilesTest, SplitAndJoinBack) {
    const SmallCase& c = GetParam();
    const std::string source = MakeSource("data.bin", c.size);
    ASSERT_EQ(SplitOntoDisks(source, 1'000'000), c.disks);
    EXPECT_EQ(screen().lastNotice, c.splitDone);
    const auto info = ReadBytes(OnDisk(1, "INFO.FIL"));
    EXPECT_EQ(std::string(info.begin(), info.end()), std::to_string(c.size) + "\ndata.bin");
    EXPECT_EQ(std::filesystem::file_size(OnDisk(1, "data_bin_1")),
              std::min<std::size_t>(c.size, 1'000'000));
    EXPECT_EQ(screen().lastDiskBar, c.size == 0 ? 0 : BarScale);

    const std::string joined = tmp / "joined.bin";
    JoinFromDisks(joined, c.disks);
    EXPECT_EQ(screen().lastNotice, c.joinDone);
    EXPECT_EQ(ReadBytes(joined), ReadBytes(source));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SmallFilesTest,
    ::testing::Values(
        SmallCase{"Empty", 0, 1, N(NoticeId::kSplitDoneOne), N(NoticeId::kJoinDoneOne)},
        SmallCase{"OneByte", 1, 1, N(NoticeId::kSplitDoneOne), N(NoticeId::kJoinDoneOne)},
        SmallCase{"ThreeBlocks", 3 * 16384, 1, N(NoticeId::kSplitDoneOne),
                  N(NoticeId::kJoinDoneOne)},
        SmallCase{"AsLargeAsTheDisk", 1'000'000, 1, N(NoticeId::kSplitDoneOne),
                  N(NoticeId::kJoinDoneOne)},
        SmallCase{"OneByteMore", 1'000'001, 2, N(NoticeId::kSplitDoneSeveral),
                  N(NoticeId::kJoinDoneSeveral)}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SplitJoinTest, WrongDiskInAJoinAsksForTheSameDiskAgain) {
    const std::string source = MakeSource("film.avi", 2'500'000);
    ASSERT_EQ(SplitOntoDisks(source, 1'000'000), 3);
    PutInDisk(1);
    Join(tmp / "film.avi.joined");
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 2));
    Klar();  // disk 1 is still in the drive
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 2));
    EXPECT_EQ(transfer.diskNumber, 2);
    PutInDisk(3);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 2));
    EXPECT_EQ(std::filesystem::file_size(tmp / "film.avi.joined"), 1'000'000u);
    PutInDisk(2);
    Klar();
    PutInDisk(3);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneSeveral));
    EXPECT_EQ(ReadBytes(tmp / "film.avi.joined"), ReadBytes(source));
}

// A chunk longer than INFO.FIL's length is not of this set, or damaged: nothing is joined.
TEST_F(SplitJoinTest, JoinRefusesAChunkLongerThanTheLengthInInfoFile) {
    WriteBytes(OnDrive("INFO.FIL"), {'1', '0', '\n', 'x', '.', 'd', 'a', 't'});
    WriteBytes(OnDrive("x_dat_1"), PatternBytes(100));
    Join(tmp / "x.dat");
    EXPECT_EQ(Klar().result, StepResult::kSameDisk);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 1));
    EXPECT_EQ(observer.reasons.back(),
              "Delen på disk 1 er lengre enn resten av filen: disken "
              "hører til et annet sett eller er skadet");
    EXPECT_TRUE(ReadBytes(tmp / "x.dat").empty());
}

struct ClusterCase {
    const char* label;
    bool checkFile;
    std::array<std::uintmax_t, 3> chunks;
};

class CapacityClusterTest : public SplitJoinTest,
                            public ::testing::WithParamInterface<ClusterCase> {};

// INFO.FIL and the check file take one 512-byte cluster each; without check files the
// chunks are as large as before there were any.
TEST_P(CapacityClusterTest, ChunksLeaveOneClusterForEachSmallFile) {
    files.freeBytes.reset();
    drives.Set(0, {driveDir, 1'000'000});
    drives.settings().checkFile = GetParam().checkFile;
    const std::string source = MakeSource("bilde.bmp", 2'500'000);
    Split(source);
    for (int disk = 1; disk <= 3; ++disk) {
        Klar();
        TakeOutDisk(disk);
    }
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneSeveral));
    for (int disk = 1; disk <= 3; ++disk) {
        EXPECT_EQ(std::filesystem::file_size(OnDisk(disk, "bilde_bmp_" + std::to_string(disk))),
                  GetParam().chunks[static_cast<std::size_t>(disk - 1)]);
    }
}

INSTANTIATE_TEST_SUITE_P(CheckFiles, CapacityClusterTest,
                         ::testing::Values(ClusterCase{"With", true, {998'976, 999'488, 501'536}},
                                           ClusterCase{
                                               "Without", false, {999'488, 1'000'000, 500'512}}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(SplitJoinTest, AccentedNameKeepsItsBytesInTheSet) {
    const std::string source = MakeSource("bl\xC3\xA5.bilde.bmp", 5000);  // "blå.bilde.bmp"
    ASSERT_EQ(SplitOntoDisks(source, 1'000'000), 1);
    const auto info = ReadBytes(OnDisk(1, "INFO.FIL"));
    EXPECT_EQ(std::string(info.begin(), info.end()), "5000\nbl\xE5.bilde.bmp");
    EXPECT_TRUE(std::filesystem::exists(OnDisk(1, "bl\xC3\xA5.bilde.bmp_1")));
    JoinFromDisks(tmp / "back.bmp", 1);
    EXPECT_EQ(questions.destinationInitialNames.back(), "bl\xC3\xA5.bilde.bmp");
    EXPECT_EQ(ReadBytes(tmp / "back.bmp"), ReadBytes(source));
}

// What the screen records of the picture, after a command.
struct Recorded {
    int viewState;
    Notice lastNotice;
    int noticeToggle;
    bool panelShowFree;
    int panelDiskNumber;
    std::int64_t freeKB;
    std::array<int, 2> barLength;
    int lastDiskBar;
    int lastTotalBar;

    static Recorded Of(const ScreenRecord& s, int viewState, int toggle) {
        return {viewState,      s.lastNotice, toggle,        s.panelShowsFree, s.panelDiskNumber,
                s.facts.freeKB, s.barLength,  s.lastDiskBar, s.lastTotalBar};
    }
    bool operator==(const Recorded&) const = default;
};

TEST_F(SplitJoinTest, PresenterWithoutASurfaceRecordsWhatADrawingOneDoes) {
    const std::string source = MakeSource("bilde.bmp", 2'500'000);
    const auto splitAndJoin = [&](RecordingObserver& watcher) {
        seams.observer = &watcher;
        Reset();
        std::vector<Recorded> after;
        files.freeBytes = std::optional<std::uint64_t>(1'000'000);
        Split(source);
        for (int disk = 1; disk <= 3; ++disk) {
            Klar();
            after.push_back(Recorded::Of(screen(), ViewState(), Toggle()));
            TakeOutDisk(disk);
        }
        JoinFromDisks(tmp / "joined.bmp", 3);
        after.push_back(Recorded::Of(screen(), ViewState(), Toggle()));
        EXPECT_EQ(ReadBytes(tmp / "joined.bmp"), ReadBytes(source));
        for (int disk = 1; disk <= 3; ++disk) {
            std::filesystem::remove_all(tmp / ("disk" + std::to_string(disk)));
        }
        std::filesystem::remove(tmp / "joined.bmp");
        return std::tuple(after, watcher.notices, watcher.diskBarRedraws, watcher.totalBarRedraws);
    };
    const auto drawn = splitAndJoin(observer);
    const auto drawnPixels = surface.pixels;
    RecordingObserver blind(CanvasSource::WithoutSurface());
    EXPECT_EQ(splitAndJoin(blind), drawn);
    EXPECT_EQ(surface.pixels, drawnPixels);  // nothing drawn since
}

}  // namespace
}  // namespace torvanik::testing
