#include <filesystem>

#include "cli_fixture.h"

namespace torvanik::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsageStart = "Bruk: torvanik-cli ";

using CliRefusalTest = CliTest;

TEST_F(CliRefusalTest, MissingSourceShowsNoticeZeroAndExitsThree) {
    auto arguments = DriveOption("A:", drive);
    arguments.insert(arguments.end(), {"split", temp / "borte.bin"});
    const Session run = Run(arguments);
    EXPECT_EQ(run.status, 3);
    ASSERT_EQ(run.pieces.size(), 1u);  // never a prompt
    EXPECT_EQ(run.pieces[0], Printed({"Sett inn diskett nummer", "og klikk 'KLAR' på nytt!"}) +
                                 "Kildefilen kan ikke åpnes: No such file or directory\n\n");
    EXPECT_TRUE(fs::is_empty(drive));
}

TEST_F(CliRefusalTest, DiskOneWithoutInfoFileExitsThreeAfterNotice17) {
    const std::string destination = temp / "ut.bin";
    const Session run = Run({"--drive", "A:=" + drive, "join", destination});
    EXPECT_EQ(run.status, 3);
    ASSERT_EQ(run.pieces.size(), 1u);
    EXPECT_EQ(run.pieces[0],
              Printed({"Sett inn diskett nummer  1", "og klikk 'KLAR' på nytt!"}) +
                  "Finner ikke INFO.FIL på disketten\n\n" +
                  Printed({"Sett inn diskett nummer  1", "og klikk 'INN' på nytt!"}));
    EXPECT_FALSE(fs::exists(destination));
}

TEST_F(CliRefusalTest, ExistingDestinationNeedsOverwrite) {
    const std::string source = MakeSource("data.bin", 3000);
    ASSERT_EQ(SplitOntoDisks(source).status, 0);
    MoveFiles(Disk(1), drive);
    const std::string destination = temp / "finnes.bin";
    WriteBytes(destination, {'b', 'e', 'h', 'o', 'l', 'd'});

    const Session refused = Run({"--drive", "A:=" + drive, "join", destination});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.pieces[0], "");
    EXPECT_NE(refused.errors.find(destination + " finnes fra før"), std::string::npos);
    EXPECT_NE(refused.errors.find(kUsageStart), std::string::npos);
    EXPECT_EQ(ReadBytes(destination), std::vector<char>({'b', 'e', 'h', 'o', 'l', 'd'}));

    const Session run = Run({"--drive", "A:=" + drive, "--overwrite", "join", destination});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ReadBytes(destination), ReadBytes(source));
}

TEST_F(CliRefusalTest, DanglingLinkCountsAsExisting) {
    const std::string destination = temp / "lenke.bin";
    fs::create_symlink(temp / "mål.bin", destination);
    EXPECT_EQ(Run({"--drive", "A:=" + drive, "join", destination}).status, 2);
    EXPECT_FALSE(fs::exists(temp / "mål.bin"));
}

TEST_F(CliRefusalTest, MalformedDrivesFileIsAUsageError) {
    fs::create_directories(config + "/torvanik");
    WriteBytes(config + "/torvanik/drives", {'?', '\n'});
    const Session run = Run({"split", temp / "x"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("drives:1: ugyldig linje"), std::string::npos);
}

// A format the drive can't make is refused, by the option or the drives file, before any
// image is made.
TEST_F(CliRefusalTest, AnUnknownFloppyFormatIsRefusedWithTheFormatsAllowed) {
    const std::string images = temp / "bilder";
    fs::create_directories(images);
    fs::create_directories(config + "/torvanik");
    const std::string line = "A: images:" + images + ",format=1.3m\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> ways = {
        {{"--drive", "A:=images:" + images + ",format=800k", "split", drive + "/x"}, ""},
        {{"split", drive + "/x"}, line},
    };
    for (const auto& [arguments, drivesFile] : ways) {
        WriteBytes(config + "/torvanik/drives", {drivesFile.begin(), drivesFile.end()});
        const Session run = Run(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.errors.find("(ventet 360k, 720k, 1.2m, 1.44m eller 2.88m)"),
                  std::string::npos)
            << run.errors;
        EXPECT_TRUE(fs::is_empty(images));
    }
}

TEST_F(CliRefusalTest, HelpAndVersionGoToStandardOutput) {
    for (const char* option : {"--help", "-h"}) {
        const Session help = Run({option});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.errors, "");
        EXPECT_EQ(help.pieces[0].rfind(kUsageStart, 0), 0u);
        for (const char* word :
             {"split FIL", "join DESTINASJON", "--drive X:=MÅL[,capacity=N]", "media:MAPPE",
              "device:ENHET", "--no-eject", "--no-verify", "--select X:", "--overwrite", "--batch",
              "--auto", "--resume", "--no-sums", "check", "-V, --version"}) {
            EXPECT_NE(help.pieces[0].find(word), std::string::npos) << word;
        }
    }
    for (const char* option : {"--version", "-V"}) {
        const Session version = Run({option});
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.pieces[0], std::string("torvanik-cli ") + TORVANIK_VERSION + "\n");
    }
}

// The arguments, a name for the case, and what the refusal's line must say.
struct UsageCase {
    std::string name;
    std::vector<std::string> arguments;
    std::string message;
};

void PrintTo(const UsageCase& usage, std::ostream* out) {
    *out << usage.name;
}

class CliUsageErrorTest : public CliTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(CliUsageErrorTest, ExitsTwoWithMessageAndUsageOnStandardError) {
    const Session run = Run(GetParam().arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.pieces[0], "");
    const std::string& errors = run.errors;
    const auto lineEnd = errors.find('\n');
    ASSERT_NE(lineEnd, std::string::npos);
    const std::string refusal = errors.substr(0, lineEnd);
    EXPECT_EQ(refusal.rfind("torvanik-cli: ", 0), 0u) << refusal;
    EXPECT_NE(refusal.find(GetParam().message), std::string::npos) << refusal;
    EXPECT_EQ(errors.substr(lineEnd + 1).rfind(kUsageStart, 0), 0u) << errors;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliUsageErrorTest,
    ::testing::Values(
        UsageCase{"NoVerb", {}, "mangler kommando (split, join, check, rebuild eller drives)"},
        UsageCase{"UnknownVerb", {"del", "x"}, "ukjent kommando: del"},
        UsageCase{"NoFile", {"split"}, "split mangler filnavn"},
        UsageCase{"ThirdWord", {"join", "a", "b"}, "for mange argumenter: b"},
        UsageCase{"UnknownOption", {"-x", "split", "a"}, "ukjent valg: -x"},
        UsageCase{"DriveWithoutValue", {"split", "a", "--drive"}, "--drive mangler verdi"},
        UsageCase{"AmbiguousOption", {"--no-", "split", "a"}, "tvetydig valg: --no-"},
        UsageCase{
            "SwitchWithValue", {"--no-verify=ja", "split", "a"}, "--no-verify tar ingen verdi"},
        UsageCase{"DriveWithoutFolder", {"--drive", "A:", "split", "a"}, "ugyldig stasjon"},
        UsageCase{"BadCapacity",
                  {"--drive", "A:=/d,capacity=mye", "split", "a"},
                  "ugyldig kapasitet: mye"},
        UsageCase{"SelectBeyondN", {"--select", "O:", "split", "a"}, "ugyldig stasjon: O:"},
        UsageCase{"SelectNoLetter", {"--select", "AB", "split", "a"}, "ugyldig stasjon: AB"},
        UsageCase{"OverwriteSplit", {"--overwrite", "split", "a"}, "--overwrite gjelder bare join"},
        UsageCase{"ParityJoin", {"--parity", "join", "a"}, "--parity gjelder bare split"},
        UsageCase{
            "ParityZero", {"--parity=0", "split", "a"}, "--parity tar et antall fra 1 til 9: 0"},
        UsageCase{"ParityTen", {"--parity=10", "split", "a"}, "fra 1 til 9: 10"},
        UsageCase{"ParityWithoutSums",
                  {"--parity=2", "--no-sums", "split", "a"},
                  "--parity krever kontrollfiler"},
        UsageCase{"DrivesWithWord", {"drives", "A:"}, "for mange argumenter: A:"},
        UsageCase{"MissingNotANumber", {"--missing", "2,x", "join", "a"}, "mangler: 2,x"},
        UsageCase{"MissingZero", {"--missing=0", "join", "a"}, "mangler: 0"},
        UsageCase{"MissingTwice", {"--missing=3,3", "join", "a"}, "mangler: 3,3"},
        UsageCase{"MissingEmptyItem", {"--missing=2,", "join", "a"}, "mangler: 2,"},
        UsageCase{"MissingOnSplit", {"--missing=2", "split", "a"}, "--missing gjelder bare join"},
        UsageCase{"RebuildNoDisk", {"rebuild"}, "rebuild mangler disknummer"},
        UsageCase{"RebuildBadDisk", {"rebuild", "1a"}, "ugyldig disknummer: 1a"},
        UsageCase{"AutoOnFolder",
                  {"--auto", "--drive", "A:=/d", "split", "a"},
                  "--auto gjelder bare en stasjon der disken monteres (media eller device:), "
                  "ikke A:"},
        UsageCase{"AutoOnImages",
                  {"--auto", "--drive", "C:=images:/d", "--select", "C:", "join", "a"},
                  "ikke C:"}),
    [](const ::testing::TestParamInfo<UsageCase>& info) { return info.param.name; });

}  // namespace
}  // namespace torvanik::testing
