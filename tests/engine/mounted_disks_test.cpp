#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>

#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

constexpr std::uint64_t kFloppyFree = 1457664;

// Drive A: is `media:DIR`. Each disk is a small tmpfs of its own, kept mounted in a stash
// beside DIR; putting it in binds it under DIR at a name of its own, as a desktop mounts
// each inserted disk at its label, and taking it out unmounts that.
class MountedDisksTest : public EngineTest {
  protected:
    MountedDisksTest() : mediaDir(tmp / "media") {
        std::filesystem::create_directories(mediaDir);
        drives.Set(0, {mediaDir, kFloppyFree, DriveKind::Media});
    }

    ~MountedDisksTest() override {
        for (auto it = mounted.rbegin(); it != mounted.rend(); ++it) {
            umount2(it->c_str(), MNT_DETACH);
        }
    }

    // False when this process may not mount.
    bool MakeDisks(int count) {
        for (int disk = 1; disk <= count; ++disk) {
            const std::string stash = tmp / ("stash" + std::to_string(disk));
            std::filesystem::create_directories(stash);
            if (mount("tmpfs", stash.c_str(), "tmpfs", 0, "size=2m") != 0) {
                return false;
            }
            mounted.push_back(stash);
        }
        return true;
    }

    void Insert(int disk, const std::string& label) {
        const std::string at = mediaDir + "/" + label;
        std::filesystem::create_directories(at);
        const std::string stash = tmp / ("stash" + std::to_string(disk));
        ASSERT_EQ(mount(stash.c_str(), at.c_str(), nullptr, MS_BIND, nullptr), 0) << at;
        mounted.push_back(at);
    }

    void Remove(const std::string& label) {
        const std::string at = mediaDir + "/" + label;
        ASSERT_EQ(umount2(at.c_str(), 0), 0) << at;
        std::erase(mounted, at);
    }

    std::string mediaDir;
    std::vector<std::string> mounted;
};

TEST_F(MountedDisksTest, SplitsOntoAndJoinsFromWhicheverDiskIsMountedNow) {
    if (geteuid() != 0 || !MakeDisks(3)) {
        GTEST_SKIP() << "mounting a tmpfs needs root; the disk-change run is left out";
    }
    const std::string source = MakeSource("film.avi", 3 << 20);

    Insert(1, "DISK1");
    Split(source);
    Klar();
    Remove("DISK1");
    // An empty drive, then two disks at once, take nothing.
    Klar();
    Insert(2, "DISK2");
    Insert(3, "DISK3");
    Klar();
    EXPECT_EQ(transferState.bytesWritten, static_cast<std::int64_t>(kFloppyFree - 512));
    Remove("DISK3");
    for (int disk = 2; disk <= 3; ++disk) {
        if (disk > 2) {
            Insert(disk, "DISK" + std::to_string(disk));
        }
        Klar();
        Remove("DISK" + std::to_string(disk));
    }
    EXPECT_FALSE(InMode(transferState));
    EXPECT_TRUE(std::filesystem::exists(tmp / "stash3/film_avi_3"));

    const std::string joined = tmp / "joined.avi";
    Insert(1, "FLOPPY A");
    Join(joined);
    for (int disk = 1; disk <= 3; ++disk) {
        const std::string label = "FLOPPY " + std::to_string(disk);
        if (disk > 1) {
            Insert(disk, label);
        }
        Klar();
        Remove(disk == 1 ? "FLOPPY A" : label);
    }
    EXPECT_FALSE(InMode(transferState));
    EXPECT_EQ(ReadBytes(joined), ReadBytes(source));
}

}  // namespace
}  // namespace torvanik::testing
