#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>

#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

constexpr std::uint64_t kFloppyFree = 1457664;

// Drive A: is `media:DIR`. Each disk is a tmpfs of its own, kept mounted in a stash;
// inserting it binds it under DIR at a name of its own, as a desktop mounts a disk at its
// label, and taking it out unmounts that.
class MountedDisksTest : public EngineTest {
  protected:
    MountedDisksTest() {
        drives.Set(0, {tmp / "media", kFloppyFree, DriveKind::Media});
        for (int disk = 1; disk <= 3; ++disk) {
            const std::string stash = tmp / ("stash" + std::to_string(disk));
            std::filesystem::create_directories(stash);
            if (geteuid() != 0 || mount("tmpfs", stash.c_str(), "tmpfs", 0, "size=2m") != 0) {
                return;
            }
            mounted.push_back(stash);
        }
    }

    ~MountedDisksTest() override {
        for (auto it = mounted.rbegin(); it != mounted.rend(); ++it) {
            umount2(it->c_str(), MNT_DETACH);
        }
    }

    void Insert(int disk, const std::string& label) {
        const std::string at = tmp / ("media/" + label);
        std::filesystem::create_directories(at);
        const std::string stash = tmp / ("stash" + std::to_string(disk));
        ASSERT_EQ(mount(stash.c_str(), at.c_str(), nullptr, MS_BIND, nullptr), 0);
        mounted.push_back(at);
    }

    void Remove(const std::string& label) {
        const std::string at = tmp / ("media/" + label);
        ASSERT_EQ(umount2(at.c_str(), 0), 0);
        std::erase(mounted, at);
    }

    std::vector<std::string> mounted;
};

TEST_F(MountedDisksTest, SplitsOntoAndJoinsFromWhicheverDiskIsMountedNow) {
    if (mounted.size() < 3) {
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
    // INFO.FIL and the check file take one cluster each.
    EXPECT_EQ(transfer.bytesWritten, static_cast<std::int64_t>(kFloppyFree - 2 * 512));
    Remove("DISK3");
    Klar();
    Remove("DISK2");
    Insert(3, "DISK3");
    Klar();
    Remove("DISK3");
    EXPECT_FALSE(Armed());
    EXPECT_TRUE(std::filesystem::exists(tmp / "stash3/film_avi_3"));

    const std::string joined = tmp / "joined.avi";
    Insert(1, "FLOPPY 1");
    Join(joined);
    for (int disk = 1; disk <= 3; ++disk) {
        if (disk > 1) {
            Insert(disk, "FLOPPY " + std::to_string(disk));
        }
        Klar();
        Remove("FLOPPY " + std::to_string(disk));
    }
    EXPECT_FALSE(Armed());
    EXPECT_EQ(ReadBytes(joined), ReadBytes(source));
}

}  // namespace
}  // namespace torvanik::testing
