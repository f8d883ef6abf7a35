#include <gtest/gtest.h>

#include <memory>

#include "fake_drive_system.h"
#include "platform/drive_description.h"
#include "platform/drive_map.h"
#include "platform/drive_texts.h"
#include "platform/mount_table.h"
#include "support/temp_folder.h"

namespace torvanik::testing {
namespace {

const std::string kSystemMounts = MountLine("8:1", "/", "/dev/sda1") +
                                  MountLine("0:25", "/run", "tmpfs") +
                                  MountLine("0:26", "/run/media/ola", "tmpfs");

TEST(MountInfoTest, ReadsFieldsAndUndoesEscapes) {
    const auto mounts = ParseMountInfo(
        "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw\n"
        "not a mount line\n"
        "40 25 8:17 / /media/ola/MY\\040DISK\\134x rw - vfat /dev/sdb1 rw\n"
        "41 25 8:18 / /media/ola/odd\\9 rw - vfat /dev/sdb2 rw");
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[0].device, (DeviceNumber{98, 0}));
    EXPECT_EQ(mounts[0].root, "/mnt1");
    EXPECT_EQ(mounts[0].mountPoint, "/mnt/parent");
    EXPECT_EQ(mounts[0].source, "/dev/root");
    EXPECT_EQ(mounts[1].mountPoint, "/media/ola/MY DISK\\x");
    EXPECT_EQ(mounts[2].mountPoint, "/media/ola/odd\\9");
}

struct ResolveCase {
    const char* name;
    const char* target;  // what follows "A:=" in --drive
    std::string mountInfo;
    std::string folder;
    std::string_view whyNone;
    std::string device;
};

void PrintTo(const ResolveCase& c, std::ostream* os) {
    *os << c.name;
}

class DriveResolutionTest : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(DriveResolutionTest, FindsTheDiskInTheDriveNow) {
    const ResolveCase& c = GetParam();
    auto system = std::make_shared<FakeDriveSystem>();
    system->mountInfo = kSystemMounts + c.mountInfo;
    system->devices["/dev/disk/by-id/usb-FLOPPY"] = {{8, 16}, {8, 17}};
    DriveMap map;
    map.UseSystem(system);
    std::string error;
    ASSERT_TRUE(ParseDriveOption(std::string("A:=") + c.target, map, error)) << error;
    const DiskInDrive disk = map.Resolve(0, 1, DiskUse::Write);
    EXPECT_EQ(disk.folder, c.folder);
    EXPECT_EQ(disk.whyNone, c.whyNone);
    EXPECT_EQ(disk.device, c.device);
}

INSTANTIATE_TEST_SUITE_P(
    Drives, DriveResolutionTest,
    ::testing::Values(
        ResolveCase{"MediaNone", "media", MountLine("8:33", "/media/ola/X/deeper", "/dev/sdc1"), "",
                    drive_text::kNoDiskIn, ""},
        ResolveCase{"MediaOne", "media", MountLine("8:17", "/media/ola/FLOPPY", "/dev/sdb1"),
                    "/media/ola/FLOPPY", "", "/dev/sdb1"},
        ResolveCase{"MediaUnderRun", "media", MountLine("8:17", "/run/media/ola/S", "/dev/sdb1"),
                    "/run/media/ola/S", "", "/dev/sdb1"},
        ResolveCase{"MediaTwo", "media",
                    MountLine("8:17", "/media/ola/A", "/dev/sdb1") +
                        MountLine("8:33", "/run/media/ola/B", "/dev/sdc1"),
                    "", drive_text::kTwoDisksIn, ""},
        ResolveCase{"MediaMountedOverItself", "media",
                    MountLine("8:17", "/media/ola/A", "/dev/sdb1") +
                        MountLine("8:33", "/media/ola/A", "/dev/sdc1"),
                    "/media/ola/A", "", "/dev/sdc1"},
        ResolveCase{"MediaFolderWithSpaces", "media:/mnt/my disks/",
                    MountLine("0:50", "/mnt/my\\040disks/DISK\\0401", "tmpfs"),
                    "/mnt/my disks/DISK 1", "", ""},
        ResolveCase{"DeviceByNumbers", "device:/dev/disk/by-id/usb-FLOPPY",
                    MountLine("8:33", "/media/ola/OTHER", "/dev/sdc1") +
                        MountLine("8:17", "/mnt/wherever", "/dev/sdb1"),
                    "/mnt/wherever", "", "/dev/sdb1"},
        ResolveCase{"DeviceOnlyAFolderOfItBound", "device:/dev/disk/by-id/usb-FLOPPY",
                    MountLine("8:17", "/mnt/part", "/dev/sdb1", "/sub"), "", drive_text::kNoDiskIn,
                    ""},
        ResolveCase{"DeviceThatIsNoDevice", "device:/dev/missing",
                    MountLine("8:17", "/media/ola/A", "/dev/sdb1"), "", drive_text::kNoDiskIn, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DriveDefaultsTest, AIsTheDiskInTheDriveAndBTheSecondRemovableDisk) {
    TempFolder tmp;
    DriveMap map;
    std::string error;
    ASSERT_TRUE(BuildDriveMap({}, tmp / "missing", map, error));
    auto system = std::make_shared<FakeDriveSystem>();
    system->mountInfo = kSystemMounts + MountLine("8:17", "/media/ola/A", "/dev/sdb1") +
                        MountLine("8:33", "/mnt/b", "/dev/sdc1");
    system->removableDisks = {{{8, 16}, {8, 17}}, {{8, 32}, {8, 33}}};
    map.UseSystem(system);
    EXPECT_EQ(map.Resolve(0, 1, DiskUse::Read).folder, "/media/ola/A");
    EXPECT_EQ(map.Resolve(1, 1, DiskUse::Read).folder, "/mnt/b");
    system->removableDisks.pop_back();
    EXPECT_EQ(map.Resolve(1, 1, DiskUse::Read).whyNone, drive_text::kNoDiskIn);
    EXPECT_TRUE(map.settings().eject);
}

// A disk mounted from /dev/sdb1 under the automount folder, with UDisks2 at hand.
class EjectTest : public ::testing::Test {
  protected:
    EjectTest() {
        system->mountInfo = kSystemMounts + MountLine("8:17", "/media/ola/A", "/dev/sdb1");
        map.UseSystem(system);
        map.Set(0, {{}, std::nullopt, DriveKind::Media, {}, 0});
    }

    // Finish after a step on drive `index`; the reason it leaves.
    std::string Finish(int index = 0) {
        std::string reason;
        EXPECT_TRUE(map.Finish(map.Resolve(index, 1, DiskUse::Write), reason));
        return reason;
    }

    std::shared_ptr<FakeDriveSystem> system = std::make_shared<FakeDriveSystem>();
    DriveMap map;
};

TEST_F(EjectTest, UnmountsThenPowersOffADiskThatIsItsOwnDrive) {
    EXPECT_EQ(Finish(), "");
    EXPECT_EQ(system->calls,
              (std::vector<std::string>{"unmount --no-user-interaction -b /dev/sdb1",
                                        "power-off --no-user-interaction -b /dev/sdb1"}));
}

TEST_F(EjectTest, KeepsPowerOnADriveWhoseMediumComesOut) {
    system->mediumComesOut = true;
    EXPECT_EQ(Finish(), "");
    EXPECT_EQ(system->calls,
              (std::vector<std::string>{"unmount --no-user-interaction -b /dev/sdb1"}));
}

TEST_F(EjectTest, AFailedUnmountIsToldButIsNoFailedStep) {
    system->failingVerb = "unmount";
    EXPECT_EQ(Finish(), drive_text::kCouldNotEject);
    EXPECT_EQ(system->calls.size(), 1u);
}

TEST_F(EjectTest, LeavesAloneFoldersTmpfsAndDisksWhenTurnedOffOrWithoutUdisks) {
    map.Set(1, {"/media/ola/A", std::nullopt});
    Finish(1);
    system->mountInfo = kSystemMounts + MountLine("0:60", "/media/ola/T", "tmpfs");
    Finish();
    system->mountInfo = kSystemMounts + MountLine("8:17", "/media/ola/A", "/dev/sdb1");
    system->udisks = false;
    Finish();
    system->udisks = true;
    map.settings().eject = false;
    Finish();
    EXPECT_TRUE(system->calls.empty());
}

TEST(DriveDescriptionTest, SaysWhatALetterStandsForNow) {
    TempFolder tmp;
    auto system = std::make_shared<FakeDriveSystem>();
    system->mountInfo = kSystemMounts;
    DriveMap map;
    map.UseSystem(system);
    map.Set(0, {tmp.path().string(), 1457664});
    map.Set(1, {{}, std::nullopt, DriveKind::Media, {}, 0});
    map.Set(2, {tmp / "missing", std::nullopt});
    FileSystem files;
    EXPECT_EQ(DescribeDrive(map, files, 0), "A: = " + tmp.path().string() + ", 1 423 kB ledig");
    EXPECT_EQ(DescribeDrive(map, files, 1), "B: " + std::string(drive_text::kNoDiskIn));
    EXPECT_EQ(DescribeDrive(map, files, 2), "C: = " + (tmp / "missing") + " (finnes ikke)");
    EXPECT_EQ(FolderDrivesNote(map), "Stasjon A: er mappen " + tmp.path().string() +
                                         "; Stasjon C: er mappen " + (tmp / "missing"));
}

}  // namespace
}  // namespace torvanik::testing
