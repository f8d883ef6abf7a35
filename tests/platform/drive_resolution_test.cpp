#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>

#include "platform/drive_description.h"
#include "platform/drive_map.h"
#include "platform/drive_map_parsing.h"
#include "res/texts/drive_texts.h"
#include "platform/floppy_image.h"
#include "res/texts/drive_texts.h"
#include "support/temp_folder.h"
#include "support/why_text.h"

namespace torvanik::testing {
namespace {

// A machine whose mounts and devices the test makes up; udisksctl calls are recorded.
struct FakeDriveSystem : DriveSystem {
    std::string mountInfo;
    std::map<std::string, std::vector<DeviceNumber>> devices;
    std::vector<std::vector<DeviceNumber>> removableDisks;
    bool mediumComesOut = false;
    Udisks udisks = Udisks::kReady;
    std::string failingVerb;
    mutable std::vector<std::string> calls;

    std::map<std::pair<unsigned, unsigned>, std::string> uuids;

    std::string MountInfo() const override { return mountInfo; }
    std::string FileSystemUuid(DeviceNumber device) const override {
        const auto found = uuids.find({device.major, device.minor});
        return found != uuids.end() ? found->second : std::string();
    }
    std::vector<std::string> AutomountFolders() const override {
        return {"/run/media/ola", "/media/ola"};
    }
    std::vector<DeviceNumber> DeviceAndPartitions(const std::string& path) const override {
        return devices.contains(path) ? devices.at(path) : std::vector<DeviceNumber>{};
    }
    std::vector<std::vector<DeviceNumber>> RemovableDisks() const override {
        return removableDisks;
    }
    bool MediumComesOut(const std::string&) const override { return mediumComesOut; }
    Udisks UdisksState() const override { return udisks; }
    Result<ChildOutput> RunUdisks(const std::vector<std::string>& arguments) const override {
        calls.push_back(arguments[0] + " " + arguments[1] + " " + arguments[2] + " " +
                        arguments[3]);
        if (arguments[0] == failingVerb) {
            return ChildOutput{1, "", "Error unmounting /dev/sdb1: target is busy\nmore\n"};
        }
        return ChildOutput{};
    }
};

std::string MountLine(const std::string& device, const std::string& mountPoint,
                      const std::string& source, const std::string& root = "/",
                      const std::string& id = "36") {
    return id + " 25 " + device + " " + root + " " + mountPoint + " rw,nosuid shared:1 - vfat " +
           source + " rw\n";
}

const std::string kSystemMounts = MountLine("8:1", "/", "/dev/sda1") + "not a mount line\n" +
                                  MountLine("0:26", "/run/media/ola", "tmpfs");

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
    const Result<void> parsed = ParseDriveOption(std::string("A:=") + c.target, map);
    ASSERT_TRUE(parsed) << WhyText(parsed);
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
        ResolveCase{"MediaTwo", "media",
                    MountLine("8:17", "/media/ola/A", "/dev/sdb1") +
                        MountLine("8:33", "/run/media/ola/B", "/dev/sdc1"),
                    "", drive_text::kTwoDisksIn, ""},
        ResolveCase{"MediaMountedOverItself", "media",
                    MountLine("8:17", "/media/ola/A", "/dev/sdb1") +
                        MountLine("8:33", "/media/ola/A", "/dev/sdc1"),
                    "/media/ola/A", "", "/dev/sdc1"},
        ResolveCase{"MediaFolderWithSpaces", "media:/mnt/my disks/",
                    MountLine("0:50", "/mnt/my\\040disks/DISK\\0401\\134", "tmpfs"),
                    "/mnt/my disks/DISK 1\\", "", ""},
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
    Result<DriveMap> built = BuildDriveMap({}, tmp / "missing");
    ASSERT_TRUE(built);
    DriveMap& map = *built;
    auto system = std::make_shared<FakeDriveSystem>();
    system->mountInfo = kSystemMounts + MountLine("8:17", "/media/ola/A", "/dev/sdb1") +
                        MountLine("8:33", "/mnt/b", "/dev/sdc1");
    system->removableDisks = {{{8, 16}, {8, 17}}, {{8, 32}, {8, 33}}};
    map.UseSystem(system);
    EXPECT_EQ(map.Resolve(0, 1, DiskUse::Read).folder, "/media/ola/A");
    EXPECT_EQ(map.Resolve(1, 1, DiskUse::Read).folder, "/mnt/b");
    system->removableDisks.pop_back();
    EXPECT_EQ(map.Resolve(1, 1, DiskUse::Read).whyNone, drive_text::kNoDiskIn);
}

TEST(EjectTest, UnmountsThenPowersOffOnlyWhatMayBeLetGo) {
    const std::string sdb = MountLine("8:17", "/media/ola/A", "/dev/sdb1");
    const std::string unmount = "unmount --no-user-interaction -b /dev/sdb1";
    const std::string powerOff = "power-off --no-user-interaction -b /dev/sdb1";
    using enum DriveSystem::Udisks;
    struct Case {
        const char* name;
        std::string mounts;
        bool comesOut;
        DriveSystem::Udisks udisks;
        bool eject;
        std::string failingVerb;
        std::vector<std::string> calls;
        std::string reason;
    };
    const std::string busy = std::string(drive_text::kCouldNotEject) +
                             " (Error unmounting /dev/sdb1: target is busy)" +
                             std::string(drive_text::kEjectByHand);
    for (const Case& c : std::vector<Case>{
             {"stick", sdb, false, kReady, true, "", {unmount, powerOff}, ""},
             {"floppy drive keeps power", sdb, true, kReady, true, "", {unmount}, ""},
             {"busy", sdb, false, kReady, true, "unmount", {unmount}, busy},
             {"tmpfs", MountLine("0:60", "/media/ola/T", "tmpfs"), false, kReady, true, "", {}, ""},
             {"no system bus", sdb, false, kNoSystemBus, true, "", {}, ""},
             {"udisks2 missing",
              sdb,
              false,
              kNotInstalled,
              true,
              "",
              {},
              std::string(drive_text::kUdisksMissing)},
             {"udisks2 missing, eject no", sdb, false, kNotInstalled, false, "", {}, ""},
             {"eject no", sdb, false, kReady, false, "", {}, ""}}) {
        auto system = std::make_shared<FakeDriveSystem>();
        system->mountInfo = kSystemMounts + c.mounts;
        system->mediumComesOut = c.comesOut;
        system->udisks = c.udisks;
        system->failingVerb = c.failingVerb;
        DriveMap map;
        map.UseSystem(system);
        map.settings().eject = c.eject;
        map.Set(0, {{}, std::nullopt, DriveKind::Media});
        map.Set(1, {"/media/ola/A", std::nullopt});
        const Result<std::string> folder = map.Finish(map.Resolve(1, 1, DiskUse::Write));
        const Result<std::string> media = map.Finish(map.Resolve(0, 1, DiskUse::Write));
        ASSERT_TRUE(folder && media) << c.name;
        EXPECT_EQ(system->calls, c.calls) << c.name;
        EXPECT_EQ(*folder + *media, c.reason) << c.name;
    }
}

// An image drive's Finish carries the step's files into the image and lets nothing go.
TEST(EjectTest, NeverForAFloppyImage) {
    TempFolder tmp;
    auto system = std::make_shared<FakeDriveSystem>();
    system->mountInfo = kSystemMounts;
    DriveMap map;
    map.UseSystem(system);
    ASSERT_TRUE(ParseDriveOption("A:=images:" + tmp.path().string(), map));
    const DiskInDrive disk = map.Resolve(0, 1, DiskUse::Write);
    ASSERT_FALSE(disk.folder.empty()) << disk.whyNone;
    WriteBytes(disk.folder + "/INFO.FIL", PatternBytes(20));
    const Result<std::string> finished = map.Finish(disk);
    EXPECT_TRUE(finished) << WhyText(finished);
    EXPECT_TRUE(system->calls.empty());
    const Result<ImageRoot> root = ReadImageRoot(tmp / "DSKA0000.IMG");
    ASSERT_TRUE(root) << WhyText(root);
    EXPECT_EQ(root->files, std::vector<std::string>{"INFO.FIL"});
}

TEST(DriveDescriptionTest, SaysWhyNoDiskIsInOrTheFolderIsMissingOrNamesTheImage) {
    TempFolder tmp;
    auto system = std::make_shared<FakeDriveSystem>();
    system->mountInfo = kSystemMounts;
    DriveMap map;
    map.UseSystem(system);
    map.Set(1, {{}, std::nullopt, DriveKind::Media});
    map.Set(2, {tmp / "missing", std::nullopt});
    FileSystem files;
    EXPECT_EQ(DescribeDrive(map, files, 1), "B: " + std::string(drive_text::kNoDiskIn));
    EXPECT_EQ(DescribeDrive(map, files, 2), "C: = " + (tmp / "missing") + " (finnes ikke)");
    ASSERT_TRUE(FormatFloppyImage(tmp / "DSKA0000.IMG", kFloppyFormats[1]));
    WriteBytes(tmp / "fil", PatternBytes(1500));
    ASSERT_TRUE(CopyIntoImage(tmp / "DSKA0000.IMG", {tmp / "fil"}));
    map.Set(3, {tmp.path().string(), std::nullopt, DriveKind::Images});
    // Looked at while a step holds the image folder, unpacking nothing beside the image.
    const DiskInDrive held = map.Resolve(3, 2, DiskUse::Write);
    ASSERT_EQ(held.whyNone, "");
    EXPECT_EQ(DescribeDrive(map, files, 3),
              "D: = " + (tmp / "DSKA0000.IMG") + ", 720k, 711 kB ledig");
    map.Set(3, {tmp.path().string(), 100'000, DriveKind::Images});
    EXPECT_EQ(DescribeDrive(map, files, 3),
              "D: = " + (tmp / "DSKA0000.IMG") + ", 720k, 95 kB ledig");
    map.Set(3, {tmp / "ingen", std::nullopt, DriveKind::Images, {}, 0, &kFloppyFormats[4]});
    EXPECT_EQ(DescribeDrive(map, files, 3),
              "D: mappen med diskbildene kan ikke \xC3\xA5pnes: ingen (" +
                  std::string(std::strerror(ENOENT)) + "); nye diskbilder lages som 2.88m");
}

// One mount of drive A:'s disk as --auto sees it: where, which mount, the file system's UUID.
struct Mounted {
    std::string mountPoint;
    std::string id;
    std::string uuid;  // empty: the system names none
};

struct DiskChange {
    const char* name;
    Mounted before;
    Mounted after;
    bool sameDisk;
};

class DiskIdentityTest : public ::testing::TestWithParam<DiskChange> {
  protected:
    std::string IdentityOf(const Mounted& mounted) {
        system->mountInfo =
            kSystemMounts + MountLine("8:17", mounted.mountPoint, "/dev/sdb1", "/", mounted.id);
        system->uuids[{8, 17}] = mounted.uuid;
        return map.DiskIdentity(0);
    }

    std::shared_ptr<FakeDriveSystem> system = std::make_shared<FakeDriveSystem>();
    DriveMap map;
};

// One USB floppy drive, /dev/sdb1, whatever disk is in it.
TEST_P(DiskIdentityTest, TellsANewDiskFromTheSameOneMountedAgain) {
    map.UseSystem(system);
    map.Set(0, {{}, std::nullopt, DriveKind::Media});
    const std::string before = IdentityOf(GetParam().before);
    const std::string after = IdentityOf(GetParam().after);
    EXPECT_FALSE(before.empty());
    EXPECT_EQ(before == after, GetParam().sameDisk) << before << " / " << after;
}

INSTANTIATE_TEST_SUITE_P(Disks, DiskIdentityTest,
                         ::testing::Values(DiskChange{"NewDiskWithTheSameLabel",
                                                      {"/media/ola/DISK", "36", "1A2B-3C4D"},
                                                      {"/media/ola/DISK", "37", "5E6F-7A8B"},
                                                      false},
                                           DiskChange{"SameDiskMountedElsewhere",
                                                      {"/media/ola/DISK", "36", "1A2B-3C4D"},
                                                      {"/media/ola/DISK1", "37", "1A2B-3C4D"},
                                                      true},
                                           DiskChange{"NewDiskWithoutUuid",
                                                      {"/media/ola/DISK", "36", ""},
                                                      {"/media/ola/DISK", "37", ""},
                                                      false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace torvanik::testing
