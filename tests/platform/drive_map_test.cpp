#include "platform/drive_map_parsing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/file_system.h"
#include "support/temp_folder.h"
#include "support/why_text.h"

namespace torvanik::testing {
namespace {

TEST(DriveOptionTest, ParsesFolderAndCapacity) {
    DriveMap map;
    ASSERT_TRUE(ParseDriveOption("A:=/tmp/a,b", map));
    ASSERT_TRUE(ParseDriveOption("c:=/mnt/c,capacity=1457664", map));
    EXPECT_EQ(map.Find(0)->directory, "/tmp/a,b");
    EXPECT_FALSE(map.Find(0)->capacity);
    EXPECT_EQ(map.Find(2)->directory, "/mnt/c");
    EXPECT_EQ(map.Find(2)->capacity, 1457664u);
    EXPECT_EQ(map.Find(2)->kind, DriveKind::Folder);
    EXPECT_EQ(map.Find(1), nullptr);
    ASSERT_TRUE(ParseDriveOption("B:=images:/stack,capacity=720", map));
    EXPECT_EQ(map.Find(1)->kind, DriveKind::Images);
    EXPECT_EQ(map.Find(1)->directory, "/stack");
    EXPECT_EQ(map.Find(1)->capacity, 720u);
    EXPECT_EQ(map.Find(1)->format->name, "1.44m");
    for (const char* option :
         {"B:=images:/stack,format=720k,capacity=5", "B:=images:/stack,capacity=5,format=720k"}) {
        ASSERT_TRUE(ParseDriveOption(option, map)) << option;
        EXPECT_EQ(map.Find(1)->directory, "/stack");
        EXPECT_EQ(map.Find(1)->capacity, 5u);
        EXPECT_EQ(map.Find(1)->format->name, "720k");
    }

    ASSERT_TRUE(ParseDriveOption("B:=media", map));
    EXPECT_EQ(map.Find(1)->kind, DriveKind::Media);
    EXPECT_EQ(map.Find(1)->directory, "");
    ASSERT_TRUE(ParseDriveOption("B:=media:/mnt/disks,capacity=1457664", map));
    EXPECT_EQ(map.Find(1)->kind, DriveKind::Media);
    EXPECT_EQ(map.Find(1)->directory, "/mnt/disks");
    EXPECT_EQ(map.Find(1)->capacity, 1457664u);
    ASSERT_TRUE(ParseDriveOption("B:=device:/dev/disk/by-id/usb-X", map));
    EXPECT_EQ(map.Find(1)->kind, DriveKind::Device);
    EXPECT_EQ(map.Find(1)->device, "/dev/disk/by-id/usb-X");
    ASSERT_TRUE(ParseDriveOption("B:=./media", map));
    EXPECT_EQ(map.Find(1)->kind, DriveKind::Folder);

    for (const char* bad : {"A:", "A:=", "S:=/x", "AB:=/x", "A:=/x,capacity=", "A:=/x,capacity=1k",
                            "=/x", "A:=,capacity=5", "A:=device", "A:=device:", "A:=media:",
                            "A:=images", "A:=images:", "A:=images:/x,format=720",
                            "A:=images:/x,format=", "A:=/x,format=720k", "A:=media,format=1.44m"}) {
        const Result<void> parsed = ParseDriveOption(bad, map);
        EXPECT_FALSE(parsed) << bad;
        EXPECT_FALSE(WhyText(parsed).empty()) << bad;
    }
}

TEST(DriveMapTest, CommandLineThenDrivesFileThenDefaults) {
    TempFolder tmp;
    const std::string file = tmp / "drives";
    std::ofstream(file) << "# my drives\n\nA: /from/file\neject no\nverify no\nsums no\n"
                           "C: /mnt/c drive,capacity=100\nD: images:/stack\n";
    Result<DriveMap> built = BuildDriveMap({"C:=/from/option"}, file);
    ASSERT_TRUE(built) << WhyText(built);
    DriveMap map = *built;
    EXPECT_EQ(map.Find(0)->directory, "/from/file");
    EXPECT_EQ(map.Find(1)->kind, DriveKind::RemovableDisk);
    EXPECT_EQ(map.Find(2)->directory, "/from/option");
    EXPECT_EQ(map.Find(4), nullptr);
    EXPECT_FALSE(map.settings().eject);
    EXPECT_FALSE(map.settings().readBack);
    EXPECT_FALSE(map.settings().checkFile);

    built = BuildDriveMap({}, file);
    ASSERT_TRUE(built);
    map = *built;
    EXPECT_EQ(map.Find(2)->directory, "/mnt/c drive");
    EXPECT_EQ(map.Find(2)->capacity, 100u);
    EXPECT_EQ(map.Find(3)->kind, DriveKind::Images);
    EXPECT_EQ(map.Find(3)->directory, "/stack");

    built = BuildDriveMap({}, tmp / "missing");
    ASSERT_TRUE(built);
    map = *built;
    EXPECT_EQ(map.Find(0)->kind, DriveKind::Media);
    EXPECT_TRUE(map.settings().eject);
    EXPECT_TRUE(map.settings().readBack);
    EXPECT_TRUE(map.settings().checkFile);

    std::ofstream(file) << "parity 2\n";
    built = BuildDriveMap({}, file);
    ASSERT_TRUE(built) << WhyText(built);
    EXPECT_EQ(built->settings().parityDisks, 2);

    for (const char* bad : {"A:/no/space\n", "eject maybe\n", "verify\n", "verbose no\n",
                            "parity 10\n", "parity yes\n", "parity 1\nsums no\n"}) {
        std::ofstream(file) << bad;
        EXPECT_FALSE(BuildDriveMap({}, file)) << bad;
    }
}

TEST(DriveMapTest, DrivePathsBecomeHostPathsOnTheDiskInTheDrive) {
    DriveMap map;
    map.Set(0, {"/media/floppy0", std::nullopt});
    const DiskInDrive disk = map.Resolve(0, 1, DiskUse::Read);
    EXPECT_EQ(DiskPath(disk, "A:bilde_bmp_1"), "/media/floppy0/bilde_bmp_1");
    EXPECT_EQ(DiskPath(disk, "A:\\INFO.FIL"), "/media/floppy0/INFO.FIL");
    EXPECT_EQ(DiskPath(disk, "a:bl\xE5_1"), "/media/floppy0/bl\xC3\xA5_1");
    EXPECT_EQ(DiskPath(disk, "A:"), "/media/floppy0");
    EXPECT_EQ(DiskPath(disk, "x"), "");
    EXPECT_EQ(DiskPath(map.Resolve(1, 1, DiskUse::Read), "B:x"), "");
}

TEST(FreeSpaceTest, CapacityLessWholeClustersOfTheFilesInTheFolder) {
    TempFolder tmp;
    FileSystem files;
    const std::uint64_t unlimited =
        *files.FreeBytes({tmp.path().string(), std::nullopt, {}, nullptr});
    EXPECT_GT(unlimited, 1u << 20);

    WriteBytes(tmp / "INFO.FIL", PatternBytes(17));
    WriteBytes(tmp / "chunk", PatternBytes(1025));
    std::filesystem::create_directories(tmp / "sub");
    WriteBytes(tmp / "sub/ignored", PatternBytes(5000));
    EXPECT_EQ(ValueOrNone(files.FreeBytes({tmp.path().string(), 1'000'000, {}, nullptr})),
              1'000'000u - 512 - 1536);
    EXPECT_EQ(ValueOrNone(files.FreeBytes({tmp.path().string(), 1000, {}, nullptr})), 0u);
    EXPECT_EQ(ValueOrNone(files.FreeBytes({tmp / "missing", 1000, {}, nullptr})), std::nullopt);
    EXPECT_EQ(ValueOrNone(files.FreeBytes({tmp / "missing", std::nullopt, {}, nullptr})),
              std::nullopt);
}

TEST(FileTimesTest, AccessAndWriteTimesKeepTheirNanoseconds) {
    TempFolder tmp;
    FileSystem files;
    const std::string path = tmp / "f";
    WriteBytes(path, PatternBytes(3));
    const FileTimes set{std::nullopt, {1'234'567'890, 111'222'333}, {1'111'111'111, 444'555'666}};
    ASSERT_TRUE(files.WriteTimes(path, set));
    const auto read = files.ReadTimes(path);
    ASSERT_TRUE(read);
    const FileTimes& got = *read;
    EXPECT_EQ(got.access.tv_sec, set.access.tv_sec);
    EXPECT_EQ(got.access.tv_nsec, set.access.tv_nsec);
    EXPECT_EQ(got.write.tv_sec, set.write.tv_sec);
    EXPECT_EQ(got.write.tv_nsec, set.write.tv_nsec);
    EXPECT_FALSE(files.ReadTimes(tmp / "missing"));
}

}  // namespace
}  // namespace torvanik::testing
