#include <filesystem>
#include <string>

#include "cli_fixture.h"

namespace torvanik::testing {
namespace {

struct DrivesCase {
    const char* name;
    std::string target;    // after "X:=", "{T}" standing for the test's folder
    std::string expected;  // the drive's line, "{T}" the same
};

std::string InTemp(std::string text, const std::string& folder) {
    for (auto at = text.find("{T}"); at != std::string::npos; at = text.find("{T}")) {
        text.replace(at, 3, folder);
    }
    return text;
}

class CliDrivesTest : public CliTest, public ::testing::WithParamInterface<DrivesCase> {};

TEST_P(CliDrivesTest, SaysWhatTheDriveStandsForAndFindsNow) {
    const std::string folder = temp.path().string();
    const Session run = Run({"--drive", "C:=" + InTemp(GetParam().target, folder), "drives"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "");
    const std::string printed = run.pieces.back();
    const std::string line = "C: " + InTemp(GetParam().expected, folder) + "\n";
    EXPECT_NE(("\n" + printed).find("\n" + line), std::string::npos) << printed;
    // The defaults stay beside the drive given.
    EXPECT_EQ(printed.rfind("A: media → ", 0), 0u) << printed;
    EXPECT_NE(printed.find("\nB: flyttbar disk nr. 2 → "), std::string::npos) << printed;
}

INSTANTIATE_TEST_SUITE_P(
    Drives, CliDrivesTest,
    ::testing::Values(DrivesCase{"Folder", "{T}/drive,capacity=1000000",
                                 "{T}/drive,capacity=1000000 → {T}/drive, 976 kB ledig"},
                      DrivesCase{"MissingFolder", "{T}/borte",
                                 "{T}/borte → {T}/borte (finnes ikke)"},
                      DrivesCase{"ImagesWithoutImage", "images:{T},format=720k",
                                 "images:{T},format=720k → diskbildet finnes ikke: DSKA0000.IMG; "
                                 "nye diskbilder lages som 720k"},
                      DrivesCase{"MediaWithNothingMounted", "media:{T}",
                                 "media:{T} → Ingen diskett/disk er satt inn"}),
    [](const ::testing::TestParamInfo<DrivesCase>& info) { return info.param.name; });

// The reason beside the notice is printed in UTF-8, an image's as well as the others.
TEST_F(CliTest, PrintsAnImageReasonInUtf8) {
    const Session run = Run({"--batch", "--drive", "A:=images:" + (temp / "borte"), "check"});
    const std::string reason = "mappen med diskbildene kan ikke \xC3\xA5pnes: borte (";
    EXPECT_NE(run.pieces.back().find(reason), std::string::npos) << run.pieces.back();
}

// A drives file that can't be right is refused at start with its line and why; the usage
// follows only a wrong command line.
struct WrongDrives {
    const char* name;
    std::string fileText;  // empty: no drives file
    std::string option;    // empty: none
    std::string said;      // after "torvanik-cli: ", "{T}" standing for the drives file
    bool usage;
};

class CliWrongDrivesTest : public CliTest, public ::testing::WithParamInterface<WrongDrives> {};

TEST_P(CliWrongDrivesTest, AreRefusedWithTheirLineAndReason) {
    const std::string file = config + "/torvanik/drives";
    if (!GetParam().fileText.empty()) {
        std::filesystem::create_directories(config + "/torvanik");
        WriteBytes(file, {GetParam().fileText.begin(), GetParam().fileText.end()});
    }
    std::vector<std::string> arguments;
    if (!GetParam().option.empty()) {
        arguments.push_back("--drive=" + GetParam().option);
    }
    arguments.push_back("drives");
    const Session run = Run(arguments);
    EXPECT_EQ(run.status, 2);
    const std::string said = "torvanik-cli: " + InTemp(GetParam().said, file) + "\n";
    EXPECT_EQ(run.errors.substr(0, said.size()), said);
    EXPECT_EQ(run.errors.size() > said.size(), GetParam().usage) << run.errors;
}

INSTANTIATE_TEST_SUITE_P(
    Drives, CliWrongDrivesTest,
    ::testing::Values(WrongDrives{"NulByte", std::string("A: /tmp/a\0b\n", 13), "",
                                  "{T}:1: linjen har et kontrolltegn (0x00)", false},
                      WrongDrives{"Escape", "# disker\nA: /tmp/\x1b[31m\n", "",
                                  "{T}:2: linjen har et kontrolltegn (0x1B)", false},
                      WrongDrives{"LongLine", "A: /" + std::string(5000, 'x') + "\n", "",
                                  "{T}:1: linjen er lengre enn 4096 byte", false},
                      WrongDrives{"DeviceThatIsNoBlockDevice", "B: device:/dev/zero\r\n", "",
                                  "{T}:1: /dev/zero er ikke en blokkenhet", false},
                      WrongDrives{"OptionDeviceThatIsNoBlockDevice", "", "B:=device:/dev/null",
                                  "B:=device:/dev/null: /dev/null er ikke en blokkenhet", true}),
    [](const ::testing::TestParamInfo<WrongDrives>& info) { return info.param.name; });

}  // namespace
}  // namespace torvanik::testing
