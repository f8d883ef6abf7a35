#include <csignal>
#include <filesystem>

#include "cli_fixture.h"

namespace torvanik::testing {
namespace {

namespace fs = std::filesystem;

const std::string kInsertDiskOne = Printed({"Sett inn diskett nummer  1", "og klikk 'KLAR'!"});
const std::string kKeepDiskOne =
    Printed({"Behold diskett nummer 1 i diskett-", "stasjonen og klikk 'KLAR'!"});

std::string InsertAgain(int disk) {
    return Printed(
        {"Sett inn diskett nummer  " + std::to_string(disk), "og klikk 'KLAR' på nytt!"});
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::uintmax_t SizeOf(const std::string& path) {
    std::error_code error;
    return fs::file_size(path, error);
}

using CliSplitJoinTest = CliTest;

TEST_F(CliSplitJoinTest, ThreeDisksOutAndBackInByteForByte) {
    const std::string source = MakeSource("bilde.bmp", 2'500'000);
    const Session split = SplitOntoDisks(source);

    EXPECT_EQ(split.status, 0);
    EXPECT_EQ(split.errors, "");  // no progress line when standard error is not a terminal
    ASSERT_EQ(split.pieces.size(), 4u);
    EXPECT_EQ(split.pieces[0], kInsertDiskOne + kPrompt);
    // Each notice once, however often the copy loop draws it again.
    EXPECT_EQ(split.pieces[1], Printed({"Undersøker ledig plass på disketten."}) +
                                   Printed({"Kopierer til diskett nummer  1"}) + InsertAgain(2) +
                                   kPrompt);
    EXPECT_TRUE(EndsWith(split.pieces[2], InsertAgain(3) + kPrompt)) << split.pieces[2];
    EXPECT_TRUE(EndsWith(split.pieces[3], Printed({"Kopiering UT til disketter fullført."})))
        << split.pieces[3];

    // INFO.FIL and the check file take one 512-byte cluster each.
    EXPECT_EQ(SizeOf(Disk(1) + "/INFO.FIL"), 17u);
    EXPECT_EQ(SizeOf(Disk(1) + "/bilde_bmp_1"), 998'976u);
    EXPECT_EQ(SizeOf(Disk(2) + "/bilde_bmp_2"), 999'488u);
    EXPECT_EQ(SizeOf(Disk(3) + "/bilde_bmp_3"), 501'536u);

    const std::string destination = temp / "samlet.bmp";
    const Session join = JoinFromDisks(destination, 3);
    EXPECT_EQ(join.status, 0);
    ASSERT_EQ(join.pieces.size(), 4u);
    EXPECT_EQ(join.pieces[0], kKeepDiskOne + kPrompt);
    EXPECT_EQ(join.pieces[1],
              Printed({"Kopierer fra diskett nummer  1"}) + InsertAgain(2) + kPrompt);
    EXPECT_TRUE(EndsWith(join.pieces[3], Printed({"Kopiering INN fra disketter fullført."})));
    EXPECT_EQ(ReadBytes(destination), ReadBytes(source));
}

TEST_F(CliSplitJoinTest, OneDiskEndsWithTheOneDiskNotices) {
    const std::string source = MakeSource("liten.txt", 5000);
    const Session split = SplitOntoDisks(source);
    EXPECT_EQ(split.status, 0);
    EXPECT_TRUE(EndsWith(split.pieces.back(), Printed({"Kopiering UT til diskett fullført."})));

    const Session join = JoinFromDisks(temp / "liten.kopi", 1);
    EXPECT_EQ(join.status, 0);
    EXPECT_TRUE(EndsWith(join.pieces.back(), Printed({"Kopiering INN fra diskett fullført."})));
    EXPECT_EQ(ReadBytes(temp / "liten.kopi"), ReadBytes(source));
}

TEST_F(CliSplitJoinTest, NameWithARingRoundTrips) {
    const std::string source = MakeSource("blå.bilde.bmp", 1'500'000);
    ASSERT_EQ(SplitOntoDisks(source).status, 0);

    const auto info = ReadBytes(Disk(1) + "/INFO.FIL");
    EXPECT_EQ(std::string(info.begin(), info.end()), "1500000\nbl\xE5.bilde.bmp");
    // The dots after the "å" stay dots; the names on the folder drive are UTF-8.
    EXPECT_TRUE(fs::exists(Disk(1) + "/blå.bilde.bmp_1"));
    EXPECT_TRUE(fs::exists(Disk(2) + "/blå.bilde.bmp_2"));

    const Session join = JoinFromDisks(temp / "tilbake.bmp", 2);
    EXPECT_EQ(join.status, 0);
    EXPECT_EQ(ReadBytes(temp / "tilbake.bmp"), ReadBytes(source));
}

TEST_F(CliSplitJoinTest, JoinAsksForTheSameDiskUntilItIsIn) {
    const std::string source = MakeSource("film.avi", 1'500'000);
    ASSERT_EQ(SplitOntoDisks(source).status, 0);
    MoveFiles(Disk(1), drive);

    auto cli = Start({"--drive", "A:=" + drive, "join", temp / "film.kopi"});
    ASSERT_TRUE(cli->ReadUntil(kPrompt));
    cli->SendLine("");
    ASSERT_TRUE(cli->ReadUntil(kPrompt));
    cli->SendLine("klar");  // any line is KLAR; disk 1 is still in the drive
    EXPECT_EQ(cli->ReadUntil(kPrompt),
              InsertAgain(2) + "Finner ikke delfilen på disketten\n\n" + kPrompt);
    MoveFiles(drive, Disk(1));
    MoveFiles(Disk(2), drive);
    cli->SendLine("");
    EXPECT_EQ(cli->Wait(), 0);
    EXPECT_EQ(ReadBytes(temp / "film.kopi"), ReadBytes(source));
}

// How the user stops at the second disk: "q", or the end of the input.
class CliStopTest : public CliTest, public ::testing::WithParamInterface<bool> {
  protected:
    void Stop(CliProcess& cli) const {
        if (GetParam()) {
            cli.SendLine("q");
        }
    }
};

TEST_P(CliStopTest, SplitLeavesTheFirstChunkAndTheSource) {
    const std::string source = MakeSource("bilde.bmp", 2'500'000);
    auto arguments = DriveOption("A:", drive);
    arguments.insert(arguments.end(), {"split", source});
    auto cli = Start(arguments);
    ASSERT_TRUE(cli->ReadUntil(kPrompt));
    cli->SendLine("");
    ASSERT_TRUE(cli->ReadUntil(kPrompt));
    Stop(*cli);
    EXPECT_EQ(cli->Wait(), 1);
    EXPECT_EQ(SizeOf(drive + "/INFO.FIL"), 17u);
    EXPECT_EQ(SizeOf(drive + "/bilde_bmp_1"), 998'976u);
    EXPECT_EQ(SizeOf(source), 2'500'000u);
}

TEST_P(CliStopTest, JoinKeepsWhatWasJoinedAndTheDisk) {
    const std::string source = MakeSource("bilde.bmp", 1'500'000);
    ASSERT_EQ(SplitOntoDisks(source).status, 0);
    MoveFiles(Disk(1), drive);
    const std::string destination = temp / "halv.bmp";
    auto cli = Start({"--drive", "A:=" + drive, "join", destination});
    ASSERT_TRUE(cli->ReadUntil(kPrompt));
    cli->SendLine("");
    ASSERT_TRUE(cli->ReadUntil(kPrompt));
    Stop(*cli);
    EXPECT_EQ(cli->Wait(), 1);
    EXPECT_EQ(SizeOf(destination), 998'976u);
    EXPECT_EQ(SizeOf(drive + "/bilde_bmp_1"), 998'976u);
}

INSTANTIATE_TEST_SUITE_P(QOrEndOfInput, CliStopTest, ::testing::Bool());

class CliSignalTest : public CliTest, public ::testing::WithParamInterface<int> {};

TEST_P(CliSignalTest, StopsWithStatusOneAndTellsTheFinishedDisks) {
    const std::string source = MakeSource("bilde.bmp", 2'500'000);
    auto arguments = DriveOption("A:", drive);
    arguments.insert(arguments.end(), {"split", source});
    auto cli = Start(arguments);
    ASSERT_TRUE(cli->ReadUntil(kPrompt));
    cli->SendLine("");
    ASSERT_TRUE(cli->ReadUntil(kPrompt));
    cli->Signal(GetParam());
    EXPECT_EQ(cli->Wait(), 1);
    EXPECT_TRUE(EndsWith(cli->Rest(), "Avbrutt. Ferdige disketter: 1\n")) << cli->Rest();
    EXPECT_EQ(SizeOf(drive + "/bilde_bmp_1"), 998'976u);
}

INSTANTIATE_TEST_SUITE_P(Signals, CliSignalTest, ::testing::Values(SIGINT, SIGTERM, SIGHUP));

TEST_F(CliSplitJoinTest, SavedDriveHoldsWithoutSelect) {
    const std::string driveB = temp / "driveB";
    fs::create_directories(config + "/torvanik");
    fs::create_directories(driveB);
    WriteBytes(config + "/torvanik/Torvanik.hsk", {1, 0});  // B:
    const std::string source = MakeSource("a.txt", 100);
    auto options = DriveOption("A:", drive);
    const auto optionB = DriveOption("B:", driveB);
    options.insert(options.end(), optionB.begin(), optionB.end());
    options.insert(options.end(), {"split", source});

    EXPECT_EQ(Run(options).status, 0);
    EXPECT_TRUE(fs::exists(driveB + "/INFO.FIL"));
    EXPECT_FALSE(fs::exists(drive + "/INFO.FIL"));
}

TEST_F(CliSplitJoinTest, SelectChoosesTheDriveForThisRunOnly) {
    const std::string driveB = temp / "driveB";
    fs::create_directories(driveB);
    const std::string source = MakeSource("a.txt", 100);
    auto options = DriveOption("B:", driveB);
    options.insert(options.end(), {"--select", "b:", "split", source});

    EXPECT_EQ(Run(options).status, 0);
    EXPECT_TRUE(fs::exists(driveB + "/a_txt_1"));
    // Nothing saved: the next run is on the saved drive again.
    EXPECT_FALSE(fs::exists(config + "/torvanik/Torvanik.hsk"));
}

}  // namespace
}  // namespace torvanik::testing
