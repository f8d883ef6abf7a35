#include "platform/image_drive.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/child_process.h"
#include "platform/floppy_image.h"
#include "platform/image_names.h"
#include "res/texts/reason_texts.h"
#include "support/temp_folder.h"
#include "support/why_text.h"

namespace torvanik::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

std::vector<std::string> ImageFiles(const std::string& image) {
    const Result<ImageRoot> root = ReadImageRoot(image);
    EXPECT_TRUE(root) << WhyText(root);
    return root ? root->files : std::vector<std::string>{};
}

void Format(const std::string& image, std::uint64_t size = kFloppyImageBytes) {
    const Result<void> made = FormatFloppyImage(image, *kDefaultFloppyFormat);
    ASSERT_TRUE(made) << WhyText(made);
    fs::resize_file(image, size);
}

TEST(ImageForDiskTest, NumberedImagesUnlessTheFolderHoldsAnotherNaming) {
    TempFolder tmp;
    const std::string dir = tmp.path().string();
    EXPECT_EQ(*ImageForDisk(dir, 1), dir + "/DSKA0000.IMG");
    EXPECT_EQ(*ImageForDisk(dir, 12), dir + "/DSKA0011.IMG");

    for (const char* name : {"b.vfd", "a.IMA", "c.img", "notes.txt"}) {
        WriteBytes(tmp / name, {});
    }
    EXPECT_EQ(*ImageForDisk(dir, 1), dir + "/a.IMA");
    EXPECT_EQ(*ImageForDisk(dir, 3), dir + "/c.img");
    EXPECT_EQ(*ImageForDisk(dir, 4), "");

    WriteBytes(tmp / "dska0001.img", {});
    EXPECT_EQ(*ImageForDisk(dir, 1), dir + "/DSKA0000.IMG");
    EXPECT_EQ(*ImageForDisk(dir, 2), dir + "/dska0001.img");
}

// What a step leaves in the disk's folder reaches the image only through Finish.
TEST(ImageDiskTest, FinishCarriesWritesAndDeletionsIntoTheImage) {
    TempFolder tmp;
    const DriveMapping drive{tmp.path().string(), std::nullopt, DriveKind::Images};
    const std::string image = tmp / "DSKA0000.IMG";
    {
        const DiskInDrive disk = ResolveImageDisk(drive, 1, DiskUse::Write);
        ASSERT_FALSE(disk.folder.empty()) << disk.whyNone;
        EXPECT_EQ(disk.capacity, 1'457'664u);
        WriteBytes(disk.folder + "/en veldig lang fil.txt", PatternBytes(1000));
        WriteBytes(disk.folder + "/KORT.TXT", PatternBytes(10));
        const Result<void> finished = FinishImageDisk(disk);
        ASSERT_TRUE(finished) << WhyText(finished);
    }
    Result<ImageRoot> root = ReadImageRoot(image);
    ASSERT_TRUE(root) << WhyText(root);
    EXPECT_THAT(root->files, UnorderedElementsAre("en veldig lang fil.txt", "KORT.TXT"));
    EXPECT_EQ(root->freeBytes, 1'457'664u - 1024 - 512);

    DiskInDrive disk = ResolveImageDisk(drive, 1, DiskUse::Read);
    EXPECT_EQ(disk.capacity, 1'457'664u);
    std::filesystem::remove(disk.folder + "/KORT.TXT");
    const Result<void> deleted = FinishImageDisk(disk);
    ASSERT_TRUE(deleted) << WhyText(deleted);
    // A name FAT can't hold: the image is left as it was, with no copy beside it.
    WriteBytes(disk.folder + "/a:b", PatternBytes(10));
    const Result<void> refused = FinishImageDisk(disk);
    EXPECT_FALSE(refused);
    EXPECT_THAT(WhyText(refused), HasSubstr("DSKA0000.IMG"));
    root = ReadImageRoot(image);
    ASSERT_TRUE(root);
    EXPECT_THAT(root->files, ElementsAre("en veldig lang fil.txt"));
    EXPECT_THAT(NamesIn(tmp.path()), ElementsAre(fs::path(disk.folder).filename(), "DSKA0000.IMG"));

    const std::string folder = disk.folder;
    disk = {};
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_THAT(ResolveImageDisk(drive, 2, DiskUse::Read).whyNone, HasSubstr("finnes ikke"));
}

TEST(ImageDiskTest, EachCauseOfNoDiskIsToldAsItself) {
    struct Cause {
        std::function<void(const std::string& image)> make;
        const char* folder;  // in `tmp`, to hold the image
        const char* why;
        std::string named;  // and the system's error text, if any
    };
    const std::vector<Cause> causes = {
        {[](auto&) {}, "images", image_reason::kMissing, "DSKA0000.IMG"},
        {[](auto& at) { WriteBytes(at, PatternBytes(kFloppyImageBytes)); }, "images",
         image_reason::kNotFat, "DSKA0000.IMG"},
        // Random bytes may say 65001-byte sectors, which mtools takes.
        {[](auto& at) { Format(at), std::fstream(at).seekp(11).write("\xE9\xFD", 2); }, "images",
         image_reason::kNotFat, "DSKA0000.IMG"},
        {[](auto& at) { Format(at, 100'000); }, "images", image_reason::kTruncated, "DSKA0000.IMG"},
        {[](auto& at) { Format(at + ".x"), fs::create_symlink(at + ".x", at); }, "images",
         image_reason::kNotRegular, "DSKA0000.IMG"},
        {[](auto&) {}, "missing", image_reason::kNoFolder,
         "missing (" + std::string(std::strerror(ENOENT)) + ")"},
    };
    for (const Cause& cause : causes) {
        SCOPED_TRACE(cause.why);
        TempFolder tmp;
        fs::create_directory(tmp / "images");
        cause.make(tmp / "images/DSKA0000.IMG");
        const DriveMapping drive{tmp / cause.folder, std::nullopt, DriveKind::Images};
        const std::string why = ResolveImageDisk(drive, 1, DiskUse::Read).whyNone;
        EXPECT_THAT(why, ::testing::StartsWith(std::string(cause.why) + ": " + cause.named));
    }
}

// One program's split: it says on `report` whether it holds disk 1 ('h') or was told
// the folder is in use ('u', exit 2); holding it, it writes `set` there once `go` closes.
int Split(const DriveMapping& drive, const std::string& set, int report, int go) {
    const DiskInDrive disk = ResolveImageDisk(drive, 1, DiskUse::Write);
    const bool inUse = disk.inUse && disk.whyNone.starts_with(image_reason::kInUse);
    char said = disk.folder.empty() ? 'u' : 'h';
    if (write(report, &said, 1) != 1 || disk.folder.empty() || read(go, &said, 1) != 0) {
        return inUse ? 2 : 1;
    }
    WriteBytes(disk.folder + "/" + set, {'x'});
    return FinishImageDisk(disk) ? 0 : 1;
}

TEST(ImageDiskTest, OfTwoProgramsOnOneImageFolderOneWritesAndTheOtherIsToldItIsInUse) {
    TempFolder tmp;
    const DriveMapping drive{tmp.path().string(), std::nullopt, DriveKind::Images};
    int report[2];
    int go[2];
    ASSERT_EQ(pipe(report) + pipe(go), 0);
    const std::vector<std::string> sets = {"EN.DAT", "TO.DAT"};
    std::vector<pid_t> children;
    for (const auto& set : sets) {
        if (children.emplace_back(fork()) == 0) {
            close(go[1]);
            _exit(Split(drive, set, report[1], go[0]));
        }
    }
    close(report[1]);
    char said[2];
    ASSERT_EQ(read(report[0], said, 1) + read(report[0], said + 1, 1), 2);
    close(go[1]);
    std::vector<int> exits;
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        exits.push_back(WEXITSTATUS(status));
    }
    EXPECT_THAT(exits, UnorderedElementsAre(0, 2));
    EXPECT_THAT(ImageFiles(tmp / "DSKA0000.IMG"), ElementsAre(sets[exits[0] == 0 ? 0 : 1]));
    EXPECT_THAT(NamesIn(tmp.path()), ElementsAre("DSKA0000.IMG"));
}

// Another program that ignored the lock: the step's copy does not go over its image.
TEST(ImageDiskTest, AnImageReplacedDuringTheStepIsLeftAsTheOtherProgramMadeIt) {
    TempFolder tmp;
    fs::create_directory(tmp / "images");
    const DiskInDrive disk =
        ResolveImageDisk({tmp / "images", std::nullopt, DriveKind::Images}, 1, DiskUse::Write);
    ASSERT_FALSE(disk.folder.empty()) << disk.whyNone;
    WriteBytes(disk.folder + "/INFO.FIL", {'1'});
    Format(tmp / "other.img");
    fs::rename(tmp / "other.img", tmp / "images/DSKA0000.IMG");
    const Result<void> finished = FinishImageDisk(disk);
    EXPECT_FALSE(finished);
    EXPECT_EQ(WhyText(finished), ImageReason(image_reason::kChanged, "DSKA0000.IMG"));
    EXPECT_THAT(NamesIn(tmp / "images"),
                ElementsAre(fs::path(disk.folder).filename(), "DSKA0000.IMG"));
    EXPECT_THAT(ImageFiles(tmp / "images/DSKA0000.IMG"), IsEmpty());
}

// A disk folder that can't be listed any more says nothing of what the step deleted.
TEST(ImageDiskTest, AFolderThatCanNotBeListedLeavesTheImageAsItWas) {
    TempFolder tmp;
    const DiskInDrive disk =
        ResolveImageDisk({tmp.path().string(), std::nullopt, DriveKind::Images}, 1, DiskUse::Write);
    ASSERT_FALSE(disk.folder.empty()) << disk.whyNone;
    WriteBytes(disk.folder + "/INFO.FIL", {'1'});
    ASSERT_TRUE(FinishImageDisk(disk));
    fs::remove_all(disk.folder);
    const Result<void> finished = FinishImageDisk(disk);
    EXPECT_THAT(WhyText(finished),
                ::testing::StartsWith(ImageReason(image_reason::kNotWritten, "DSKA0000.IMG")));
    // Its words name the error already; a number beside them would have it said twice.
    EXPECT_EQ(finished.why().error, 0);
    EXPECT_THAT(ImageFiles(tmp / "DSKA0000.IMG"), ElementsAre("INFO.FIL"));
}

// A link of that naming is no step's: neither it nor what it points to goes.
TEST(ImageDiskTest, TheNextStepRemovesTheImageCopiesAndFoldersOfAKilledStep) {
    TempFolder tmp;
    fs::create_directories(tmp / "bilder/.~torvanik.DSKA0000.IMG.g7H8i9/inni");
    for (const char* name :
         {"bilder/.~torvanik.DSKA0000.IMG.a1B2c3", "bilder/.~torvanik.x.img.d4E5f6", "bilder/a.txt",
          "bilder/.~torvanik.DSKA0000.IMG.g7H8i9/inni/INFO.FIL", "andre"}) {
        WriteBytes(tmp / name, {'x'});
    }
    fs::create_symlink(tmp / "andre", tmp / "bilder/.~torvanik.lenke");
    const DriveMapping drive{tmp / "bilder", std::nullopt, DriveKind::Images};
    EXPECT_EQ(ResolveImageDisk(drive, 1, DiskUse::Write).whyNone, "");
    EXPECT_THAT(NamesIn(tmp / "bilder"), ElementsAre(".~torvanik.lenke", "DSKA0000.IMG", "a.txt"));
    EXPECT_TRUE(fs::exists(tmp / "andre"));
}

// "VmHWM:   1234 kB": the most memory this process has held.
std::uint64_t PeakKB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line) && !line.starts_with("VmHWM:")) {
    }
    return line.empty() ? 0 : std::stoull(line.substr(6));
}

TEST(ImageDiskTest, AStepOntoALargeImageStreamsIt) {
    TempFolder tmp;
    const std::string image = tmp / "DSKA0000.IMG";
    WriteBytes(image, {});
    fs::resize_file(image, 300 << 20);
    ASSERT_TRUE(
        Succeeded(RunChild({"mformat", "-T", "614400", "-h", "64", "-s", "32", "-i", image, "::"},
                           {"MTOOLS_SKIP_CHECK=1"})));
    int result[2];
    ASSERT_EQ(pipe(result), 0);
    // In a child of its own, whose peak starts over before the step: a 64 MB chunk put on it.
    if (fork() == 0) {
        std::ofstream("/proc/self/clear_refs") << "5";
        const std::uint64_t before = PeakKB();
        std::uint64_t added = 0;
        {
            const DiskInDrive disk = ResolveImageDisk(
                {tmp.path().string(), std::nullopt, DriveKind::Images}, 1, DiskUse::Write);
            if (disk.folder.empty()) {
                _exit(1);
            }
            WriteBytes(disk.folder + "/bilde_bmp_1", {});
            fs::resize_file(disk.folder + "/bilde_bmp_1", 64 << 20);
            added = FinishImageDisk(disk) ? PeakKB() - before : 0;
        }
        _exit(write(result[1], &added, sizeof added) == sizeof added ? 0 : 1);
    }
    std::uint64_t added = 0;
    EXPECT_EQ(read(result[0], &added, sizeof added), static_cast<ssize_t>(sizeof added));
    wait(nullptr);
    RecordProperty("peak_kB", std::to_string(added));
    EXPECT_GT(added, 0u);
    EXPECT_LT(added, 50u << 10);
}

// Without mtools every use of an image names the package that is missing.
TEST(FloppyImageTest, WithoutMtoolsTheReasonNamesThePackage) {
    TempFolder tmp;
    const std::string image = tmp / "DSKA0000.IMG";
    Format(image);
    const std::string path = std::getenv("PATH");
    std::filesystem::create_directories(tmp / "bin");
    setenv("PATH", (tmp / "bin").c_str(), 1);
    const std::pair<const char*, std::function<Result<void>()>> uses[] = {
        {"format", [&] { return FormatFloppyImage(tmp / "DSKA0001.IMG", *kDefaultFloppyFormat); }},
        {"list",
         [&]() -> Result<void> {
             const Result<ImageRoot> root = ReadImageRoot(image);
             return root ? Result<void>() : root.why();
         }},
        {"copy out", [&] { return CopyOutOfImage(image, {"A"}, tmp / "bin"); }},
        {"copy in", [&] { return CopyIntoImage(image, {tmp / "bin"}); }},
        {"delete", [&] { return DeleteFromImage(image, {"A"}); }}};
    for (const auto& [name, use] : uses) {
        const Result<void> used = use();
        EXPECT_FALSE(used) << name;
        EXPECT_EQ(WhyText(used), image_reason::kMtoolsMissing) << name;
    }
    setenv("PATH", path.c_str(), 1);
}

}  // namespace
}  // namespace torvanik::testing
