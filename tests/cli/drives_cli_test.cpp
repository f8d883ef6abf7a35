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

}  // namespace
}  // namespace torvanik::testing
