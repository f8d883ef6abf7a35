#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "cli_fixture.h"

namespace torvanik::testing {
namespace {

namespace fs = std::filesystem;

std::string AutoPrompt(int disk, const std::string& what = "diskett") {
    return "Sett inn " + what + " nummer " + std::to_string(disk) +
           " (fortsetter når den er satt inn) ";
}

// A small tmpfs mounted at `folder` while it lives: a disk put in the drive.
class TmpfsDisk {
  public:
    explicit TmpfsDisk(const std::string& folder) : folder_(folder) {
        fs::create_directories(folder);
        mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=4m") == 0;
    }
    ~TmpfsDisk() { TakeOut(); }
    TmpfsDisk(const TmpfsDisk&) = delete;
    TmpfsDisk& operator=(const TmpfsDisk&) = delete;

    bool mounted() const { return mounted_; }
    void TakeOut() {
        if (mounted_) {
            umount2(folder_.c_str(), MNT_DETACH);
            mounted_ = false;
        }
    }

  private:
    std::string folder_;
    bool mounted_ = false;
};

using CliAutoTest = CliTest;

TEST_F(CliAutoTest, NextMountedDiskGoesOnWithoutEnter) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "mounting a tmpfs as a disk needs root";
    }
    const std::string media = temp / "media";
    auto first = std::make_unique<TmpfsDisk>(media + "/disk1");
    if (!first->mounted()) {
        GTEST_SKIP() << "no tmpfs could be mounted here";
    }
    const std::string source = MakeSource("stor.bin", 1'500'000);
    auto cli = Start({"--auto", "--no-sums", "--drive", "A:=media:" + media + ",capacity=1000000",
                      "split", source});
    // Disk 1 is in from the start, so it is taken at once; disk 1 still mounted is not disk 2.
    ASSERT_TRUE(cli->ReadUntil(AutoPrompt(1)));
    ASSERT_TRUE(cli->ReadUntil(AutoPrompt(2)));
    const auto onDiskOne = NamesIn(media + "/disk1");
    first->TakeOut();
    TmpfsDisk second(media + "/disk2");
    ASSERT_TRUE(second.mounted());

    EXPECT_TRUE(cli->ReadUntil("Kopiering UT til disketter fullført."));
    EXPECT_EQ(onDiskOne, (std::vector<std::string>{"INFO.FIL", "stor_bin_1"}));
    EXPECT_EQ(NamesIn(media + "/disk2"), std::vector<std::string>{"stor_bin_2"});
    EXPECT_EQ(cli->Wait(), 0);
}

TEST_F(CliAutoTest, ParityDiskIsAskedForByItsName) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "mounting a tmpfs as a disk needs root";
    }
    const std::string media = temp / "media";
    auto first = std::make_unique<TmpfsDisk>(media + "/disk1");
    if (!first->mounted()) {
        GTEST_SKIP() << "no tmpfs could be mounted here";
    }
    const std::string source = MakeSource("liten.bin", 600'000);
    auto cli = Start({"--auto", "--parity", "--drive", "A:=media:" + media + ",capacity=1000000",
                      "split", source});
    ASSERT_TRUE(cli->ReadUntil(AutoPrompt(1)));
    ASSERT_TRUE(cli->ReadUntil(AutoPrompt(1, "paritetsdisk")));
    first->TakeOut();
    TmpfsDisk second(media + "/disk2");
    ASSERT_TRUE(second.mounted());

    EXPECT_TRUE(cli->ReadUntil("fullført."));
    EXPECT_EQ(cli->Wait(), 0);
    const auto names = NamesIn(media + "/disk2");
    EXPECT_EQ(names.size(), 3u);
    EXPECT_NE(std::find(names.begin(), names.end(), "liten_bin.vol00+01.par2"), names.end());
}

}  // namespace
}  // namespace torvanik::testing
