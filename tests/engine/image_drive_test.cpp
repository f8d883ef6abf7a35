#include <sys/mount.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "engine/check_file.h"
#include "engine/disk_set.h"
#include "engine/join_parity.h"
#include "engine_fixture.h"
#include "platform/child_process.h"
#include "platform/drive_map_parsing.h"
#include "platform/floppy_image.h"

namespace torvanik::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::vector<std::string> kMtoolsEnvironment = {"LC_ALL=C.UTF-8", "MTOOLS_SKIP_CHECK=1"};

// What mtools printed; a status of -1 when it could not run.
ChildOutput Mtools(const std::vector<std::string>& argv) {
    Result<ChildOutput> run = RunChild(argv, kMtoolsEnvironment);
    return run ? std::move(*run) : ChildOutput{-1, {}, run.why().text};
}

timespec WriteTime(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mtim;
}

// Drive A: is a stack of floppy images in "images", checked with mtools alone.
class ImageDriveTest : public EngineTest {
  protected:
    ImageDriveTest() : imagesDir(tmp / "images") {
        std::filesystem::create_directories(imagesDir);
        drives.Set(0, {imagesDir, std::nullopt, DriveKind::Images});
    }

    std::string Image(const std::string& name) const { return imagesDir + "/" + name; }

    // The image's root files copied out by mcopy into "out/<image>".
    std::string CopiedOut(const std::string& image) {
        const std::string folder = tmp / ("out/" + image);
        std::filesystem::create_directories(folder);
        EXPECT_EQ(Mtools({"mcopy", "-m", "-n", "-i", Image(image), "::*", folder + "/"}).status, 0);
        return folder;
    }

    void PutWithMtools(const std::string& image, const std::vector<std::string>& files) {
        ASSERT_EQ(Mtools({"mformat", "-C", "-f", "1440", "-i", Image(image), "::"}).status, 0);
        std::vector<std::string> argv = {"mcopy", "-m", "-i", Image(image)};
        argv.insert(argv.end(), files.begin(), files.end());
        argv.emplace_back("::");
        ASSERT_EQ(Mtools(argv).status, 0);
    }

    std::string imagesDir;
};

TEST_F(ImageDriveTest, SplitsOntoThreeFloppyImagesAndJoinsBack) {
    const std::string source = MakeSource("bilde.bmp", 3'000'000);
    // FAT keeps write times to two seconds.
    const FileTimes times{std::nullopt, {1'500'000'000, 0}, {1'400'000'000, 0}};
    ASSERT_TRUE(files.WriteTimes(source, times));

    Split(source);
    for (int disk = 1; disk <= 3; ++disk) {
        Klar();
    }
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneSeveral));
    EXPECT_THAT(NamesIn(imagesDir), ElementsAre("DSKA0000.IMG", "DSKA0001.IMG", "DSKA0002.IMG"));

    // INFO.FIL and the check file take a 512-byte cluster each.
    const std::vector<std::pair<std::string, std::uintmax_t>> chunks = {
        {"bilde_bmp_1", 1'456'640}, {"bilde_bmp_2", 1'457'152}, {"bilde_bmp_3", 86'208}};
    const std::vector<std::string> freeLines = {" 0 bytes free", " 0 bytes free",
                                                "1 370 624 bytes free"};
    const std::string checkFile = CheckFileName(transfer.setIdentity);
    const auto original = ReadBytes(source);
    std::size_t offset = 0;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        const std::string image = "DSKA000" + std::to_string(i) + ".IMG";
        EXPECT_EQ(std::filesystem::file_size(Image(image)), kFloppyImageBytes);
        const ChildOutput info = Mtools({"minfo", "-i", Image(image), "::"});
        EXPECT_EQ(info.status, 0);
        EXPECT_THAT(info.output, HasSubstr("small size: 2880 sectors"));
        EXPECT_THAT(Mtools({"mdir", "-i", Image(image), "::"}).output, HasSubstr(freeLines[i]));

        const std::string out = CopiedOut(image);
        const auto& [name, size] = chunks[i];
        if (i == 0) {
            EXPECT_THAT(NamesIn(out), ElementsAre("INFO.FIL", checkFile, name));
            const auto info = ReadBytes(out + "/INFO.FIL");
            EXPECT_EQ(std::string(info.begin(), info.end()), "3000000\nbilde.bmp");
        } else {
            EXPECT_THAT(NamesIn(out), ElementsAre(checkFile, name));
        }
        const auto chunk = ReadBytes(out + "/" + name);
        ASSERT_EQ(chunk.size(), size);
        EXPECT_TRUE(std::equal(chunk.begin(), chunk.end(), original.begin() + offset));
        EXPECT_EQ(WriteTime(out + "/" + name).tv_sec, times.write.tv_sec);
        offset += size;
    }

    const std::string joined = tmp / "joined.bmp";
    Join(joined);
    for (int disk = 1; disk <= 3; ++disk) {
        Klar();
    }
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneSeveral));
    EXPECT_EQ(WriteTime(joined).tv_sec, times.write.tv_sec);
    EXPECT_EQ(ReadBytes(joined), original);
}

// With a parity disk the set takes one image more, and the images' files make a set that
// par2 finds whole.
TEST_F(ImageDriveTest, AParityDiskIsTheImageAfterTheData) {
    const std::string source = MakeSource("bilde.bmp", 3'000'000);
    drives.settings().parityDisks = 1;
    Split(source);
    for (int disk = 1; disk <= 4; ++disk) {
        Klar();
    }
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneSeveral));
    const std::string out = CopiedOut("DSKA0003.IMG");
    EXPECT_THAT(NamesIn(out), ElementsAre(CheckFileName(transfer.setIdentity), "bilde_bmp.par2",
                                          "bilde_bmp.vol00+01.par2"));
    if (!OnPath("par2")) {
        GTEST_SKIP() << "par2 is not installed";
    }
    for (const char* image : {"DSKA0000.IMG", "DSKA0001.IMG", "DSKA0002.IMG"}) {
        ASSERT_EQ(
            Mtools({"mcopy", "-m", "-n", "-i", Image(image), "::bilde_bmp_*", out + "/"}).status,
            0);
    }
    const Result<ChildOutput> verified = RunChild({"par2", "v", "-q", out + "/bilde_bmp.par2"});
    EXPECT_TRUE(Succeeded(verified)) << ComplaintOf(verified);
}

// A join that goes on without disk 2 reads the parity disk from the image after the data
// and rebuilds the chunk; without image 1, INN finds parity disk 1 among the images.
TEST_F(ImageDriveTest, AJoinWithoutADiskReadsTheParityImage) {
    const std::string source = MakeSource("bilde.bmp", 3'000'000);
    drives.settings().parityDisks = 1;
    Split(source);
    for (int disk = 1; disk <= 4; ++disk) {
        Klar();
    }
    for (const int lost : {2, 1}) {
        SCOPED_TRACE(lost);
        const std::string joined = tmp / ("joined-" + std::to_string(lost));
        if (lost == 1) {
            std::filesystem::rename(Image("DSKA0000.IMG"), tmp / "disk1.img");
            Join(joined);
            EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertParityDisk, 1));
        } else {
            Join(joined);
            Klar();
            Run(OnSkipDisk);
            EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertParityDisk, 1));
        }
        for (int step = 0; Armed() && step < 10; ++step) {
            Klar();
        }
        EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneSeveral));
        EXPECT_EQ(ReadBytes(joined), ReadBytes(source));
    }
}

// $XDG_RUNTIME_DIR and $TMPDIR on a 16 KiB tmpfs, too small for any image, where this
// process may mount one; else on a folder that is not there at all. As they were after.
class NoRoomForTemporaries {
  public:
    explicit NoRoomForTemporaries(const std::string& folder) : folder_(folder) {
        std::filesystem::create_directories(folder);
        mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=16k") == 0;
        if (!mounted_) {
            std::filesystem::remove(folder);
        }
        for (auto& [name, value] : saved_) {
            if (const char* now = std::getenv(name)) {
                value = now;
            }
            setenv(name, folder.c_str(), 1);
        }
    }
    ~NoRoomForTemporaries() {
        for (const auto& [name, value] : saved_) {
            value ? setenv(name, value->c_str(), 1) : unsetenv(name);
        }
        if (mounted_) {
            umount2(folder_.c_str(), MNT_DETACH);
        }
    }

  private:
    std::string folder_;
    bool mounted_ = false;
    std::pair<const char*, std::optional<std::string>> saved_[2] = {{"XDG_RUNTIME_DIR", {}},
                                                                    {"TMPDIR", {}}};
};

// A folder of floppies of one size, as mformat makes them: made by the drive in its format,
// or there before the split.
struct FloppyCase {
    const char* name;
    const char* format;               // the drive's; none when the images are there already
    std::vector<std::string> images;  // the folder after the split
    std::uint64_t imageBytes;
    const char* sectors;  // as minfo says: "small size: 1440 sectors"
    std::uint64_t clusterBytes;
    std::uint64_t freshFree;  // a freshly formatted image's free space
    std::size_t sourceBytes;
};

void PrintTo(const FloppyCase& floppy, std::ostream* out) {
    *out << floppy.name;
}

class FloppySizesTest : public ImageDriveTest, public ::testing::WithParamInterface<FloppyCase> {};

// Each image but the last is filled: its chunk takes what INFO.FIL and the check file leave
// in whole clusters of the image's own size. No step keeps anything under $XDG_RUNTIME_DIR
// or $TMPDIR.
TEST_P(FloppySizesTest, SplitsFillingEachImageAndJoinsBack) {
    const FloppyCase& floppy = GetParam();
    const NoRoomForTemporaries noRoom(tmp / "small");
    if (floppy.format != nullptr) {
        const Result<void> parsed =
            ParseDriveOption("A:=images:" + imagesDir + ",format=" + floppy.format, drives);
        ASSERT_TRUE(parsed) << parsed.why().text;
        // What the drive plans with before it makes an image is what mformat gives.
        const FloppyFormat* named = FloppyFormatNamed(floppy.format);
        ASSERT_NE(named, nullptr);
        EXPECT_EQ(named->freeWhenNew, floppy.freshFree);
        EXPECT_EQ(named->clusterBytes, floppy.clusterBytes);
    } else {
        for (const auto& image : floppy.images) {
            ASSERT_EQ(Mtools({"mformat", "-C", "-f", "720", "-i", Image(image), "::"}).status, 0);
        }
    }
    const std::string source = MakeSource("lyd.wav", floppy.sourceBytes);
    Split(source);
    for (std::size_t disk = 0; disk < floppy.images.size(); ++disk) {
        Klar();
    }
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneSeveral));
    EXPECT_EQ(NamesIn(imagesDir), floppy.images);
    std::uint64_t chunks = 0;
    for (std::size_t i = 0; i < floppy.images.size(); ++i) {
        const std::string& image = floppy.images[i];
        SCOPED_TRACE(image);
        EXPECT_EQ(std::filesystem::file_size(Image(image)), floppy.imageBytes);
        const ChildOutput info = Mtools({"minfo", "-i", Image(image), "::"});
        EXPECT_THAT(info.output, HasSubstr(floppy.sectors));
        const std::string out = CopiedOut(image);
        const std::string chunk = out + "/lyd_wav_" + std::to_string(i + 1);
        const std::uint64_t kept = (i == 0 ? 2 : 1) * floppy.clusterBytes;
        if (i + 1 < floppy.images.size()) {
            EXPECT_THAT(Mtools({"mdir", "-i", Image(image), "::"}).output,
                        HasSubstr(" 0 bytes free"));
            EXPECT_EQ(std::filesystem::file_size(chunk), floppy.freshFree - kept);
        }
        chunks += std::filesystem::file_size(chunk);
    }
    EXPECT_EQ(chunks, floppy.sourceBytes);

    Join(tmp / "joined.wav");
    for (std::size_t disk = 0; disk < floppy.images.size(); ++disk) {
        Klar();
    }
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneSeveral));
    EXPECT_EQ(ReadBytes(tmp / "joined.wav"), ReadBytes(source));
    EXPECT_EQ(NamesIn(imagesDir), floppy.images);
}

INSTANTIATE_TEST_SUITE_P(
    Floppies, FloppySizesTest,
    ::testing::Values(FloppyCase{"MadeAs720k",
                                 "720k",
                                 {"DSKA0000.IMG", "DSKA0001.IMG", "DSKA0002.IMG"},
                                 737'280,
                                 "small size: 1440 sectors",
                                 1024,
                                 730'112,
                                 2'000'000},
                      FloppyCase{"MadeAs2880k",
                                 "2.88m",
                                 {"DSKA0000.IMG", "DSKA0001.IMG"},
                                 2'949'120,
                                 "small size: 5760 sectors",
                                 1024,
                                 2'931'712,
                                 3'000'000},
                      FloppyCase{"There720k",
                                 nullptr,
                                 {"a.img", "b.img", "c.img"},
                                 737'280,
                                 "small size: 1440 sectors",
                                 1024,
                                 730'112,
                                 2'100'000}),
    [](const ::testing::TestParamInfo<FloppyCase>& info) { return info.param.name; });

TEST_F(ImageDriveTest, AStepTheImageDoesNotTakeIsAFailedStepThatLeavesTheImage) {
    // A floppy's root folder holds 224 entries; these take them all.
    std::filesystem::create_directories(tmp / "full");
    std::vector<std::string> fillers;
    for (int i = 0; i < 224; ++i) {
        fillers.push_back(tmp / ("full/F" + std::to_string(i)));
        WriteBytes(fillers.back(), {'x'});
    }
    PutWithMtools("DSKA0000.IMG", fillers);
    const std::string source = MakeSource("a.dat", 5000);
    Split(source);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 1));
    EXPECT_THAT(observer.reasons, ElementsAre(HasSubstr("DSKA0000.IMG")));
    EXPECT_EQ(transfer.bytesWritten, 0);
    const Result<ImageRoot> root = ReadImageRoot(Image("DSKA0000.IMG"));
    ASSERT_TRUE(root) << root.why().text;
    EXPECT_EQ(root->files.size(), 224u);
    EXPECT_EQ(root->freeBytes, 1'457'664u - 224 * 512);
}

TEST_F(ImageDriveTest, JoinsASetImagedElsewhereInNameOrder) {
    // "blå.dat": the set's name is Windows-1252, the images' long names UTF-16.
    const std::string hostName = "bl\xC3\xA5.dat";
    const auto first = PatternBytes(700'000, 3);
    const auto second = PatternBytes(300'000, 4);
    std::filesystem::create_directories(tmp / "set");
    const std::string info = "\r\n1000000\r\nbl\xE5.dat\r\n";
    WriteBytes(tmp / "set/INFO.FIL", {info.begin(), info.end()});
    WriteBytes(tmp / ("set/" + hostName + "_1"), first);
    WriteBytes(tmp / ("set/" + hostName + "_2"), second);
    PutWithMtools("arkiv-1.ima", {tmp / "set/INFO.FIL", tmp / ("set/" + hostName + "_1")});
    PutWithMtools("arkiv-2.ima", {tmp / ("set/" + hostName + "_2")});

    Join(tmp / "joined.dat");
    Klar();
    Klar();
    EXPECT_EQ(transfer.joinName, "bl\xE5.dat");
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneSeveral));
    auto expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(ReadBytes(tmp / "joined.dat"), expected);

    // "ÕY": its 8.3 name starts with the byte 0xE5 in code page 850, kept as 0x05 in FAT.
    std::filesystem::remove_all(imagesDir);
    std::filesystem::create_directories(imagesDir);
    const std::string shortInfo = "3\r\n\xD5Y\r\n";
    WriteBytes(tmp / "set/INFO.FIL", {shortInfo.begin(), shortInfo.end()});
    WriteBytes(tmp / "set/\xC3\x95Y_1", {'a', 'b', 'c'});
    PutWithMtools("DSKA0000.IMG", {tmp / "set/INFO.FIL", tmp / "set/\xC3\x95Y_1"});
    Join(tmp / "joined.short");
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneOne));
    EXPECT_EQ(ReadBytes(tmp / "joined.short"), std::vector<char>({'a', 'b', 'c'}));
}

TEST_F(ImageDriveTest, DamagedImageIsAnUnreadableDiskWithItsReason) {
    WriteBytes(Image("DSKA0000.IMG"), PatternBytes(kFloppyImageBytes));
    Join(tmp / "joined.dat");
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskOneForJoin));
    EXPECT_THAT(drives.Resolve(0, 1, DiskUse::Read).whyNone,
                HasSubstr("ikke en FAT-diskett: DSKA0000.IMG"));

    // A whole image cut short still passes mtools' own checks.
    std::filesystem::remove(Image("DSKA0000.IMG"));
    std::filesystem::create_directories(tmp / "set");
    WriteBytes(tmp / "set/INFO.FIL", {'5', '\n', 'x'});
    PutWithMtools("DSKA0000.IMG", {tmp / "set/INFO.FIL"});
    std::filesystem::resize_file(Image("DSKA0000.IMG"), 100'000);
    Join(tmp / "joined.dat");
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskOneForJoin));
    const DiskInDrive disk = drives.Resolve(0, 1, DiskUse::Write);
    EXPECT_TRUE(disk.folder.empty());
    EXPECT_THAT(disk.whyNone, HasSubstr("avkortet: DSKA0000.IMG"));
    EXPECT_EQ(std::filesystem::file_size(Image("DSKA0000.IMG")), 100'000u);
}

}  // namespace
}  // namespace torvanik::testing
