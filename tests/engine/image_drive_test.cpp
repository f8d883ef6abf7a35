#include <sys/stat.h>

#include <filesystem>

#include "engine/check_file.h"
#include "engine/disk_set.h"
#include "engine_fixture.h"
#include "platform/child_process.h"
#include "platform/floppy_image.h"

namespace torvanik::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::vector<std::string> kMtoolsEnvironment = {"LC_ALL=C.UTF-8", "MTOOLS_SKIP_CHECK=1"};

ChildRun Mtools(const std::vector<std::string>& argv) {
    return RunChild(argv, kMtoolsEnvironment);
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
        EXPECT_EQ(Mtools({"mcopy", "-m", "-n", "-i", Image(image), "::*", folder + "/"}).exitCode,
                  0);
        return folder;
    }

    void PutWithMtools(const std::string& image, const std::vector<std::string>& files) {
        ASSERT_EQ(Mtools({"mformat", "-C", "-f", "1440", "-i", Image(image), "::"}).exitCode, 0);
        std::vector<std::string> argv = {"mcopy", "-m", "-i", Image(image)};
        argv.insert(argv.end(), files.begin(), files.end());
        argv.emplace_back("::");
        ASSERT_EQ(Mtools(argv).exitCode, 0);
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
        const ChildRun info = Mtools({"minfo", "-i", Image(image), "::"});
        EXPECT_EQ(info.exitCode, 0);
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
    ImageRoot root;
    std::string reason;
    ASSERT_TRUE(ReadImageRoot(Image("DSKA0000.IMG"), root, reason)) << reason;
    EXPECT_EQ(root.files.size(), 224u);
    EXPECT_EQ(root.freeBytes, 1'457'664u - 224 * 512);
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
