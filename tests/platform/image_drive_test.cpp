#include "platform/image_drive.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "platform/floppy_image.h"
#include "platform/image_reasons.h"
#include "support/temp_folder.h"

namespace torvanik::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

TEST(ImageForDiskTest, NumberedImagesUnlessTheFolderHoldsAnotherNaming) {
    TempFolder tmp;
    const std::string dir = tmp.path().string();
    EXPECT_EQ(ImageForDisk(dir, 1), dir + "/DSKA0000.IMG");
    EXPECT_EQ(ImageForDisk(dir, 12), dir + "/DSKA0011.IMG");

    for (const char* name : {"b.vfd", "a.IMA", "c.img", "notes.txt"}) {
        WriteBytes(tmp / name, {});
    }
    EXPECT_EQ(ImageForDisk(dir, 1), dir + "/a.IMA");
    EXPECT_EQ(ImageForDisk(dir, 3), dir + "/c.img");
    EXPECT_EQ(ImageForDisk(dir, 4), "");

    WriteBytes(tmp / "dska0001.img", {});
    EXPECT_EQ(ImageForDisk(dir, 1), dir + "/DSKA0000.IMG");
    EXPECT_EQ(ImageForDisk(dir, 2), dir + "/dska0001.img");
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
        std::string reason;
        ASSERT_TRUE(FinishImageDisk(disk, reason)) << reason;
    }
    ImageRoot root;
    std::string reason;
    ASSERT_TRUE(ReadImageRoot(image, root, reason)) << reason;
    EXPECT_THAT(root.files, UnorderedElementsAre("en veldig lang fil.txt", "KORT.TXT"));
    EXPECT_EQ(root.freeBytes, 1'457'664u - 1024 - 512);

    DiskInDrive disk = ResolveImageDisk(drive, 1, DiskUse::Read);
    EXPECT_EQ(disk.capacity, 1'457'664u);
    std::filesystem::remove(disk.folder + "/KORT.TXT");
    ASSERT_TRUE(FinishImageDisk(disk, reason)) << reason;
    // A name FAT can't hold: the image is left as it was, with no copy beside it.
    WriteBytes(disk.folder + "/a:b", PatternBytes(10));
    EXPECT_FALSE(FinishImageDisk(disk, reason));
    EXPECT_THAT(reason, HasSubstr("DSKA0000.IMG"));
    ASSERT_TRUE(ReadImageRoot(image, root, reason));
    EXPECT_THAT(root.files, ElementsAre("en veldig lang fil.txt"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path()), {}), 1);

    const std::string folder = disk.folder;
    disk = {};
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_THAT(ResolveImageDisk(drive, 2, DiskUse::Read).whyNone, HasSubstr("finnes ikke"));
}

// Without mtools every use of an image names the package that is missing.
TEST(FloppyImageTest, WithoutMtoolsTheReasonNamesThePackage) {
    TempFolder tmp;
    const std::string image = tmp / "DSKA0000.IMG";
    std::string reason;
    ASSERT_TRUE(FormatFloppyImage(image, reason)) << reason;
    const std::string path = std::getenv("PATH");
    std::filesystem::create_directories(tmp / "bin");
    setenv("PATH", (tmp / "bin").c_str(), 1);
    const std::pair<const char*, std::function<bool(std::string&)>> uses[] = {
        {"format", [&](std::string& r) { return FormatFloppyImage(tmp / "DSKA0001.IMG", r); }},
        {"list",
         [&](std::string& r) {
             ImageRoot root;
             return ReadImageRoot(image, root, r);
         }},
        {"copy out",
         [&](std::string& r) {
             return CopyOutOfImage(image, {{"A"}, 0}, tmp / "bin", r);
         }},
        {"copy in", [&](std::string& r) { return CopyIntoImage(image, {tmp / "bin"}, r); }},
        {"delete", [&](std::string& r) { return DeleteFromImage(image, {"A"}, r); }}};
    for (const auto& [name, use] : uses) {
        reason.clear();
        EXPECT_FALSE(use(reason)) << name;
        EXPECT_EQ(reason, image_reason::kMtoolsMissing) << name;
    }
    setenv("PATH", path.c_str(), 1);
}

}  // namespace
}  // namespace torvanik::testing
