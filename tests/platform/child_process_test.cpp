#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "platform/child_process.h"
#include "platform/drive_map.h"
#include "res/texts/drive_texts.h"
#include "support/temp_folder.h"

namespace torvanik::testing {
namespace {

using std::chrono_literals::operator""ms;

// Programs the test writes, found first on PATH.
class FakeProgramTest : public ::testing::Test {
  protected:
    FakeProgramTest() : path_(std::getenv("PATH")) {
        setenv("PATH", (tmp.path().string() + ":" + path_).c_str(), 1);
    }
    ~FakeProgramTest() override { setenv("PATH", path_.c_str(), 1); }

    void WriteProgram(const std::string& name, const std::string& body) {
        std::ofstream(tmp / name) << "#!/bin/sh\n" << body << "\n";
        chmod((tmp / name).c_str(), 0755);
    }

    TempFolder tmp;

  private:
    std::string path_;
};

// Gone, or a zombie waiting for a parent that is not this test, within a second: a
// killed process takes a moment to end.
bool Ended(const std::string& pidFile) {
    std::string pid;
    std::ifstream(pidFile) >> pid;
    for (int tries = 0; !pid.empty() && tries < 100; ++tries) {
        std::ifstream stat("/proc/" + pid + "/stat");
        std::string number, name, state;
        if (!(stat >> number >> name >> state) || state == "Z") {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST_F(FakeProgramTest, AChildPastItsLimitIsKilledWithWhatItStarted) {
    WriteProgram("slow", "echo started\nsleep 30 &\necho $! > " + (tmp / "grandchild") +
                             "\necho $$ > " + (tmp / "child") + "\nwait");
    const Result<ChildOutput> run = RunChild({"slow"}, {}, 300ms);
    ASSERT_FALSE(run);
    EXPECT_EQ(run.why().error, ETIMEDOUT);
    EXPECT_EQ(run.why().text, "slow svarte ikke innen 1 s og ble stoppet\n");
    EXPECT_TRUE(Ended(tmp / "child"));
    EXPECT_TRUE(Ended(tmp / "grandchild"));
}

TEST_F(FakeProgramTest, AChildWithinItsLimitIsLeftToFinish) {
    WriteProgram("quick", "sleep 0.2\necho done\nexit 3");
    const Result<ChildOutput> run = RunChild({"quick"}, {}, 5000ms);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->status, 3);
    EXPECT_EQ(run->output, "done\n");
}

// A removable disk whose udisksctl is the test's.
struct RemovableDiskMachine : DriveSystem {
    using DriveSystem::DriveSystem;
    Udisks UdisksState() const override { return Udisks::kReady; }
    bool MediumComesOut(const std::string&) const override { return true; }
};

TEST_F(FakeProgramTest, AFailedEjectSaysWhyInUdisksctlsOwnWords) {
    const std::string byHand(drive_text::kEjectByHand);
    const std::string notLetGo(drive_text::kCouldNotEject);
    struct Case {
        const char* name;
        const char* udisksctl;
        std::string reason;
    };
    for (const Case& c : std::vector<Case>{
             {"hangs", "sleep 30",
              notLetGo + " (udisksctl svarte ikke innen 1 s og ble stoppet)" + byHand},
             {"refuses",
              "echo 'Error unmounting /dev/sdz1: target is busy' >&2\necho more >&2\nexit 1",
              notLetGo + " (Error unmounting /dev/sdz1: target is busy)" + byHand},
             {"says nothing", "exit 1", notLetGo + byHand},
             {"lets go", "exit 0", ""},
         }) {
        WriteProgram("udisksctl", c.udisksctl);
        DriveMap map;
        map.UseSystem(std::make_shared<RemovableDiskMachine>(300ms));
        DiskInDrive disk;
        disk.folder = tmp.path().string();
        disk.device = "/dev/sdz1";
        disk.kind = DriveKind::Media;
        // The files are on the disk by now: a disk not let go fails no step.
        const Result<std::string> finished = map.Finish(disk);
        ASSERT_TRUE(finished) << c.name;
        EXPECT_EQ(*finished, c.reason) << c.name;
    }
}

}  // namespace
}  // namespace torvanik::testing
