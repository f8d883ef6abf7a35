#include <csignal>
#include <filesystem>

#include "cli_fixture.h"

namespace torvanik::testing {
namespace {

class CliResumeTest : public CliTest {
  protected:
    std::vector<std::string> Split(const std::vector<std::string>& extra = {}) const {
        std::vector<std::string> arguments = DriveOption("A:", drive);
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        arguments.insert(arguments.end(), {"split", source});
        return arguments;
    }

    // Disks 1 and 2 written, then the program killed while it waits for disk 3.
    void KilledAtDiskThree() const {
        auto cli = Start(Split());
        for (int disk = 0; disk <= 2; ++disk) {
            ASSERT_TRUE(cli->ReadUntil(kPrompt));
            if (disk > 0) {
                MoveFiles(drive, Disk(disk));
            }
            if (disk < 2) {
                cli->SendLine("");
            }
        }
        cli->Signal(SIGKILL);
        cli->Wait();
    }

    const std::string source = MakeSource("bilde.bmp", 3'500'000);
};

TEST_F(CliResumeTest, AKilledSplitGoesOnAtTheDiskItStoppedAt) {
    KilledAtDiskThree();
    auto cli = Start(Split({"--resume"}));
    std::vector<std::string> pieces;
    int disk = 2;
    while (auto piece = cli->ReadUntil(kPrompt)) {
        pieces.push_back(*piece);
        if (disk > 2) {
            MoveFiles(drive, Disk(disk));
        }
        ++disk;
        cli->SendLine("");
    }
    EXPECT_EQ(cli->Wait(), 0);
    MoveFiles(drive, Disk(disk));
    ASSERT_FALSE(pieces.empty());
    EXPECT_NE(pieces.front().find("Fortsetter fra diskett 3"), std::string::npos) << pieces.front();
    EXPECT_EQ(disk, 4);
    EXPECT_EQ(JoinFromDisks(temp / "samlet.bmp", 4).status, 0);
    EXPECT_EQ(ReadBytes(temp / "samlet.bmp"), ReadBytes(source));
}

// Quitting at the first prompt of a run that started anew keeps the stopped transfer.
TEST_F(CliResumeTest, WithoutResumeItSaysSoAndStartsAtDiskOne) {
    KilledAtDiskThree();
    auto cli = Start(Split());
    const auto first = cli->ReadUntil(kPrompt);
    ASSERT_TRUE(first);
    EXPECT_NE(first->find("Overføringen ble avbrutt etter diskett 2. Denne kjøringen begynner "
                          "fra diskett 1;"),
              std::string::npos)
        << *first;
    EXPECT_NE(first->find("Sett inn diskett nummer  1"), std::string::npos) << *first;
    cli->SendLine("q");
    cli->Wait();
    auto resumed = Start(Split({"--resume"}));
    const auto again = resumed->ReadUntil(kPrompt);
    ASSERT_TRUE(again);
    EXPECT_NE(again->find("Fortsetter fra diskett 3"), std::string::npos) << *again;
    resumed->SendLine("q");
    resumed->Wait();
}

TEST_F(CliResumeTest, ResumeWithNothingToGoOnWithStartsNothing) {
    const Session session = Run(Split({"--resume"}));
    EXPECT_EQ(session.status, 3);
    EXPECT_NE(session.pieces.back().find("Finner ingen avbrutt overføring"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(drive));
}

}  // namespace
}  // namespace torvanik::testing
