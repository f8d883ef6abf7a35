#include <filesystem>

#include "engine/check_file.h"
#include "engine_fixture.h"
#include "platform/child_process.h"

namespace torvanik::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string kNoCheckFiles =
    "Settet har ingen kontrollfiler: delene settes sammen uten kontroll";

void FlipByte(const std::string& path, std::size_t offset) {
    auto bytes = ReadBytes(path);
    bytes.at(offset) = static_cast<char>(bytes[offset] ^ 1);
    WriteBytes(path, bytes);
}

// Disks of 1,000,000 bytes in the folder drive, each one's files taken out into disk<N>.
class CheckFilesTest : public EngineTest {
  protected:
    void SetUp() override { files.freeBytes = std::optional<std::uint64_t>(1'000'000); }

    // The source split onto disk1 ... disk3.
    void SplitOntoThreeDisks(const std::string& source) {
        Split(source);
        for (int disk = 1; disk <= 3; ++disk) {
            Klar();
            TakeOutDisk(disk);
        }
        ASSERT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneSeveral));
    }

    // INN with disk 1 in, and KLAR for the disks before `upTo`.
    void JoinUpTo(int upTo) {
        PutInDisk(1);
        Join(tmp / "joined.bmp");
        for (int disk = 1; disk < upTo; ++disk) {
            if (disk > 1) {
                PutInDisk(disk);
            }
            Klar();
        }
    }

    void JoinTheRest(int from) {
        for (int disk = from; disk <= 3; ++disk) {
            PutInDisk(disk);
            Klar();
        }
        EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneSeveral));
    }

    // KLAR on disk `disk` fails with `reason` and leaves the join where it was.
    void ExpectRefused(int disk, const std::string& reason) {
        const std::int64_t joined = transfer.bytesJoined;
        EXPECT_EQ(Klar().result, StepResult::kSameDisk);
        EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, disk));
        EXPECT_EQ(observer.reasons.back(), reason);
        EXPECT_EQ(transfer.bytesJoined, joined);
        EXPECT_EQ(fs::file_size(tmp / "joined.bmp"), static_cast<std::uintmax_t>(joined));
        EXPECT_THAT(observer.notices, Not(Contains(N(NoticeId::kJoinDoneSeveral))));
    }
};

struct Damage {
    const char* label;
    int disk;
    const char* file;
    std::size_t offset;
    const char* reason;
};

class DamagedDiskTest : public CheckFilesTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedDiskTest, StopsTheJoinAtThatDiskUntilItIsMended) {
    const std::string source = MakeSource("bilde.bmp", 2'500'000);
    SplitOntoThreeDisks(source);
    const Damage& damage = GetParam();
    const std::string damaged = OnDisk(damage.disk, damage.file);
    FlipByte(damaged, damage.offset);

    JoinUpTo(damage.disk);
    PutInDisk(damage.disk);
    ExpectRefused(damage.disk, damage.reason);

    FlipByte(damaged, damage.offset);
    PutInDisk(damage.disk);
    Klar();
    JoinTheRest(damage.disk + 1);
    EXPECT_EQ(ReadBytes(tmp / "joined.bmp"), ReadBytes(source));
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, DamagedDiskTest,
    ::testing::Values(Damage{"ChunkOne", 1, "bilde_bmp_1", 123'456,
                             "Disk 1 er skadet: delen stemmer ikke med kontrollsummen"},
                      Damage{"ChunkThree", 3, "bilde_bmp_3", 499'999,
                             "Disk 3 er skadet: delen stemmer ikke med kontrollsummen"},
                      // "2500000\nbilde.bmp" becomes "2500000\ncilde.bmp".
                      Damage{"InfoFileName", 1, "INFO.FIL", 8,
                             "Disk 1 er skadet: INFO.FIL stemmer ikke med kontrollsummen"}),
    [](const auto& info) { return std::string(info.param.label); });

// What a hostile or unlucky hand does to a disk's files: `folder` holds the disk's files,
// `checkFile` names the set's check file.
using Spoil = void (*)(const std::string& folder, const std::string& checkFile);

struct SpoiledDisk {
    const char* label;
    int disk;
    Spoil spoil;
    const char* reason;
};

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, std::vector<char>(text.begin(), text.end()));
}

void AppendTo(const std::string& path, const std::string& text) {
    auto bytes = ReadBytes(path);
    bytes.insert(bytes.end(), text.begin(), text.end());
    WriteBytes(path, bytes);
}

// The first line of the check file, its digest's first digit replaced by `digit`.
void SetFirstDigit(const std::string& path, char digit) {
    auto bytes = ReadBytes(path);
    bytes.at(0) = digit == bytes.at(0) ? static_cast<char>(digit + 1) : digit;
    WriteBytes(path, bytes);
}

class SpoiledDiskTest : public CheckFilesTest, public ::testing::WithParamInterface<SpoiledDisk> {};

// However the check file or the chunk is spoiled, the disk is refused with its reason while
// its chunk is damaged too, and the set joins whole once the disk is mended.
TEST_P(SpoiledDiskTest, RefusesTheDiskAndNeverFinishesWithWrongBytes) {
    const std::string source = MakeSource("bilde.bmp", 2'500'000);
    SplitOntoThreeDisks(source);
    const SpoiledDisk& spoiled = GetParam();
    const std::string folder = tmp / ("disk" + std::to_string(spoiled.disk));
    const std::string kept = tmp / "kept";
    fs::copy(folder, kept);
    const std::string chunk = "bilde_bmp_" + std::to_string(spoiled.disk);
    FlipByte(folder + "/" + chunk, 1000);
    spoiled.spoil(folder, CheckFileName(transfer.setIdentity));

    JoinUpTo(spoiled.disk);
    PutInDisk(spoiled.disk);
    ExpectRefused(spoiled.disk, spoiled.reason);
    EXPECT_THAT(observer.reasons, Not(Contains(kNoCheckFiles)));

    fs::remove_all(folder);
    fs::rename(kept, folder);
    PutInDisk(spoiled.disk);
    Klar();
    JoinTheRest(spoiled.disk + 1);
    EXPECT_EQ(ReadBytes(tmp / "joined.bmp"), ReadBytes(source));
}

INSTANTIATE_TEST_SUITE_P(
    CheckFiles, SpoiledDiskTest,
    ::testing::Values(
        SpoiledDisk{"InfoLineWithAnotherDigit", 1,
                    [](const std::string& folder, const std::string& checkFile) {
                        SetFirstDigit(folder + "/" + checkFile, '0');
                    },
                    "Disk 1 er skadet: INFO.FIL stemmer ikke med kontrollsummen"},
        SpoiledDisk{"ByteOrderMark", 1,
                    [](const std::string& folder, const std::string& checkFile) {
                        const std::string path = folder + "/" + checkFile;
                        auto bytes = ReadBytes(path);
                        bytes.insert(bytes.begin(), {'\xEF', '\xBB', '\xBF'});
                        WriteBytes(path, bytes);
                    },
                    "Disk 1 er skadet: kontrollfilen har en linje som ikke kan leses"},
        SpoiledDisk{"CheckFileGoneFromDiskTwo", 2,
                    [](const std::string& folder, const std::string& checkFile) {
                        fs::remove(folder + "/" + checkFile);
                    },
                    "Disk 2 er skadet: kontrollfilen mangler"},
        SpoiledDisk{"OnlyAnUnrelatedCheckFile", 2,
                    [](const std::string& folder, const std::string& checkFile) {
                        fs::remove(folder + "/" + checkFile);
                        WriteText(folder + "/TV000000.XXH",
                                  "06b05ab6733a618578af5f94892f3950  annet_1\n");
                    },
                    "Disk 2 er skadet: kontrollfilen mangler"},
        SpoiledDisk{"ChunkListedTwiceSecondWrong", 3,
                    [](const std::string& folder, const std::string& checkFile) {
                        AppendTo(folder + "/" + checkFile,
                                 "06b05ab6733a618578af5f94892f3950  bilde_bmp_3\n");
                    },
                    "Disk 3 er skadet: kontrollfilen har to ulike kontrollsummer for samme fil"},
        SpoiledDisk{"NoLineForTheChunk", 2,
                    [](const std::string& folder, const std::string& checkFile) {
                        WriteText(folder + "/" + checkFile, "");
                    },
                    "Disk 2 er skadet: kontrollfilen har ingen linje for delen"},
        SpoiledDisk{"ChunkLongerThanTheRest", 3,
                    [](const std::string& folder, const std::string&) {
                        AppendTo(folder + "/bilde_bmp_3", "x");
                    },
                    "Delen på disk 3 er lengre enn resten av filen: disken hører til et annet "
                    "sett eller er skadet"}),
    [](const auto& info) { return std::string(info.param.label); });

// Disk 1 that lost its check file joins unchecked only until a disk shows that the set
// had them.
TEST_F(CheckFilesTest, CheckFileOnALaterDiskOnlyIsRefused) {
    SplitOntoThreeDisks(MakeSource("bilde.bmp", 2'500'000));
    fs::remove(OnDisk(1, CheckFileName(transfer.setIdentity)));
    JoinUpTo(2);
    PutInDisk(2);
    ExpectRefused(2,
                  "Disk 2 har en kontrollfil, men disk 1 har ingen: settet kan ikke "
                  "kontrolleres");
}

// With the check turned off, a chunk longer than what is left is still refused.
TEST_F(CheckFilesTest, ChunkLongerThanTheRestIsRefusedWithoutCheckFiles) {
    drives.settings().checkFile = false;
    SplitOntoThreeDisks(MakeSource("bilde.bmp", 2'500'000));
    AppendTo(OnDisk(2, "bilde_bmp_2"), std::string(600'000, 'x'));
    JoinUpTo(2);
    PutInDisk(2);
    ExpectRefused(2,
                  "Delen på disk 2 er lengre enn resten av filen: disken hører til et "
                  "annet sett eller er skadet");
}

TEST_F(CheckFilesTest, DiskOfAnotherSetOfTheSameNameIsRefused) {
    SplitOntoThreeDisks(MakeSource("bilde.bmp", 2'500'000, 2));
    fs::rename(tmp / "disk2", tmp / "other2");
    const std::string source = MakeSource("bilde.bmp", 2'500'000);
    SplitOntoThreeDisks(source);

    JoinUpTo(2);
    fs::rename(tmp / "disk2", tmp / "right2");
    fs::rename(tmp / "other2", tmp / "disk2");
    PutInDisk(2);
    ExpectRefused(2, "Disken hører til et annet sett");

    fs::rename(tmp / "disk2", tmp / "other2");
    fs::rename(tmp / "right2", tmp / "disk2");
    JoinTheRest(2);
    EXPECT_EQ(ReadBytes(tmp / "joined.bmp"), ReadBytes(source));
}

struct SumsSetting {
    const char* label;
    bool atSplit;
    bool atJoin;
    int reasonsSayingSo;  // how often the join says that the set has no check files
};

class SumsSettingTest : public CheckFilesTest, public ::testing::WithParamInterface<SumsSetting> {};

// A set without check files joins as before and says so once; with the check turned off
// at the join a set's check files are not looked at, even where a chunk is damaged.
TEST_P(SumsSettingTest, JoinsWhateverTheCheckFilesSay) {
    const std::string source = MakeSource("bilde.bmp", 2'500'000);
    drives.settings().checkFile = GetParam().atSplit;
    SplitOntoThreeDisks(source);
    for (int disk = 1; disk <= 3; ++disk) {
        const bool checkFile = fs::exists(OnDisk(disk, CheckFileName(transfer.setIdentity)));
        EXPECT_EQ(checkFile, GetParam().atSplit) << disk;
    }
    auto expected = ReadBytes(source);
    if (!GetParam().atJoin) {
        FlipByte(OnDisk(2, "bilde_bmp_2"), 10);
        expected[1'000'010] = static_cast<char>(expected[1'000'010] ^ 1);
    }
    drives.settings().checkFile = GetParam().atJoin;
    JoinUpTo(1);
    JoinTheRest(1);
    EXPECT_EQ(ReadBytes(tmp / "joined.bmp"), expected);
    EXPECT_THAT(observer.reasons, Contains(kNoCheckFiles).Times(GetParam().reasonsSayingSo));
}

INSTANTIATE_TEST_SUITE_P(Settings, SumsSettingTest,
                         ::testing::Values(SumsSetting{"WrittenWithout", false, true, 1},
                                           SumsSetting{"IgnoredAtTheJoin", true, false, 0}),
                         [](const auto& info) { return std::string(info.param.label); });

struct DiskKind {
    const char* label;
    DriveKind kind;
    std::size_t sourceSize;
};

// Each disk checked by `xxhsum -c` alone, on folders and on floppy images.
class XxhsumTest : public CheckFilesTest, public ::testing::WithParamInterface<DiskKind> {
  protected:
    bool OnImages() const { return GetParam().kind == DriveKind::Images; }

    // A folder with the files of disk `disk`: its own folder, or copied out of its image.
    std::string FilesOf(int disk) {
        if (!OnImages()) {
            return tmp / ("disk" + std::to_string(disk));
        }
        const std::string folder = tmp / ("out" + std::to_string(disk));
        fs::create_directories(folder);
        const std::string image = tmp / ("images/DSKA000" + std::to_string(disk - 1) + ".IMG");
        EXPECT_TRUE(Succeeded(RunChild({"mcopy", "-m", "-n", "-i", image, "::*", folder + "/"},
                                       {"MTOOLS_SKIP_CHECK=1"})));
        return folder;
    }
};

TEST_P(XxhsumTest, EveryDiskPassesXxhsumAndTheSetJoinsBack) {
    if (!OnPath("xxhsum")) {
        GTEST_SKIP() << "xxhsum (Debian package xxhash) is missing";
    }
    if (OnImages()) {
        files.freeBytes.reset();
        fs::create_directories(tmp / "images");
        drives.Set(0, {tmp / "images", std::nullopt, DriveKind::Images});
    }
    const std::string source = MakeSource("bilde.bmp", GetParam().sourceSize);
    Split(source);
    for (int disk = 1; disk <= 3; ++disk) {
        Klar();
        if (!OnImages()) {
            TakeOutDisk(disk);
        }
    }
    ASSERT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneSeveral));
    const std::string checkFile = CheckFileName(transfer.setIdentity);
    for (int disk = 1; disk <= 3; ++disk) {
        const Result<ChildOutput> check =
            RunChild({"sh", "-c", "cd \"$1\" && xxhsum -c \"$2\"", "sh", FilesOf(disk), checkFile});
        ASSERT_TRUE(check) << check.why().text;
        EXPECT_EQ(check->status, 0) << check->output << check->errors;
        EXPECT_THAT(check->output, HasSubstr("bilde_bmp_" + std::to_string(disk) + ": OK"));
        EXPECT_EQ(check->output.find("INFO.FIL: OK") != std::string::npos, disk == 1);
    }

    if (!OnImages()) {
        PutInDisk(1);
    }
    Join(tmp / "joined.bmp");
    for (int disk = 1; disk <= 3; ++disk) {
        if (!OnImages()) {
            PutInDisk(disk);
        }
        Klar();
    }
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneSeveral));
    EXPECT_EQ(ReadBytes(tmp / "joined.bmp"), ReadBytes(source));
}

INSTANTIATE_TEST_SUITE_P(Disks, XxhsumTest,
                         ::testing::Values(DiskKind{"Folders", DriveKind::Folder, 2'500'000},
                                           DiskKind{"FloppyImages", DriveKind::Images, 3'000'000}),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace torvanik::testing
