#include <gmock/gmock.h>

#include <filesystem>
#include <map>

#include "cli_fixture.h"

namespace torvanik::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

// Every file of the disks, with its bytes.
std::map<std::string, std::vector<char>> FilesOn(const std::vector<std::string>& disks) {
    std::map<std::string, std::vector<char>> found;
    for (const std::string& disk : disks) {
        for (const auto& entry : fs::directory_iterator(disk)) {
            found[entry.path().string()] = ReadBytes(entry.path().string());
        }
    }
    return found;
}

std::string Printed(const Session& session) {
    std::string all;
    for (const std::string& piece : session.pieces) {
        all += piece;
    }
    return all;
}

struct CheckCase {
    const char* label;
    int damagedDisk;  // 0: none
    std::vector<std::string> lines;
    int status;
    int damagedCheckFile = 0;  // the disk whose check file starts with a byte-order mark
};

class CliCheckTest : public CliTest, public ::testing::WithParamInterface<CheckCase> {
  protected:
    std::vector<std::string> Disks() const { return {Disk(1), Disk(2), Disk(3)}; }
};

TEST_P(CliCheckTest, SaysWhatEachDiskIsAndWritesNothing) {
    ASSERT_EQ(SplitOntoDisks(MakeSource("bilde.bmp", 2'500'000)).status, 0);
    if (const int disk = GetParam().damagedDisk; disk > 0) {
        const std::string chunk = Disk(disk) + "/bilde_bmp_" + std::to_string(disk);
        auto bytes = ReadBytes(chunk);
        bytes[4321] = static_cast<char>(bytes[4321] ^ 0x80);
        WriteBytes(chunk, bytes);
    }
    if (const int disk = GetParam().damagedCheckFile; disk > 0) {
        for (const auto& entry : fs::directory_iterator(Disk(disk))) {
            if (entry.path().extension() == ".XXH") {
                auto bytes = ReadBytes(entry.path());
                bytes.insert(bytes.begin(), {'\xEF', '\xBB', '\xBF'});
                WriteBytes(entry.path(), bytes);
            }
        }
    }
    const auto before = FilesOn(Disks());

    const Session check = CheckDisks(3);
    EXPECT_EQ(check.status, GetParam().status);
    for (const std::string& line : GetParam().lines) {
        EXPECT_THAT(Printed(check), HasSubstr(line + "\n"));
    }
    EXPECT_EQ(FilesOn(Disks()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, CliCheckTest,
    ::testing::Values(CheckCase{"Good",
                                0,
                                {"Disk 1: i orden", "Disk 2: i orden", "Disk 3: i orden",
                                 "Alle disketter i settet er i orden."},
                                0},
                      CheckCase{"DamagedDiskTwo",
                                2,
                                {"Disk 1: i orden",
                                 "Disk 2: skadet, delen stemmer ikke med kontrollsummen",
                                 "Disk 3: i orden", "Ikke alle disketter i settet er i orden."},
                                4},
                      // The set keeps its check files: disks 2 and 3 are checked against theirs.
                      CheckCase{"DamagedCheckFileOnDiskOne",
                                1,
                                {"Disk 1 er skadet: kontrollfilen har en linje som ikke kan leses",
                                 "Disk 2: i orden", "Disk 3: i orden",
                                 "Ikke alle disketter i settet er i orden."},
                                4,
                                1}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(CliTest, SetWrittenWithoutCheckFilesHasTheOldChunksAndJoins) {
    const std::string source = MakeSource("bilde.bmp", 2'500'000);
    ASSERT_EQ(SplitOntoDisks(source, {"--no-sums"}).status, 0);
    EXPECT_EQ(fs::file_size(Disk(1) + "/bilde_bmp_1"), 999'488u);
    EXPECT_EQ(fs::file_size(Disk(2) + "/bilde_bmp_2"), 1'000'000u);
    EXPECT_EQ(fs::file_size(Disk(3) + "/bilde_bmp_3"), 500'512u);
    for (int disk = 1; disk <= 3; ++disk) {
        for (const auto& entry : fs::directory_iterator(Disk(disk))) {
            EXPECT_THAT(entry.path().filename().string(), Not(HasSubstr(".XXH")));
        }
    }

    const Session check = CheckDisks(3);
    EXPECT_EQ(check.status, 4);
    EXPECT_THAT(Printed(check), HasSubstr("Disk 2: har ingen kontrollfil\n"));
    EXPECT_THAT(Printed(check), HasSubstr("Settet har ingen kontrollfiler.\n"));

    const Session join = JoinFromDisks(temp / "samlet.bmp", 3);
    EXPECT_EQ(join.status, 0);
    EXPECT_EQ(ReadBytes(temp / "samlet.bmp"), ReadBytes(source));
}

// A check run ends as a split or a join does: with --batch it asks nothing, and with no one
// at the terminal a disk that fails alike three times ends it.
TEST_F(CliTest, CheckRunsUnattended) {
    ASSERT_EQ(SplitOntoDisks(MakeSource("liten.bin", 5'000)).status, 0);
    std::vector<std::string> arguments = DriveOption("A:", Disk(1));
    arguments.insert(arguments.end(), {"--batch", "check"});
    const Session batch = Run(arguments);
    EXPECT_EQ(batch.status, 0);
    EXPECT_EQ(batch.pieces.size(), 1u);
    EXPECT_THAT(Printed(batch), HasSubstr("Disk 1: i orden\n"));

    fs::remove(Disk(1) + "/liten_bin_1");
    arguments.erase(arguments.end() - 2);
    const Session piped = Run(arguments);
    EXPECT_EQ(piped.status, 1);
    EXPECT_EQ(piped.pieces.size(), 4u);
    EXPECT_THAT(piped.errors, HasSubstr("samme feil tre ganger på rad uten at disken ble byttet: "
                                        "Finner ikke delfilen på disketten"));
}

}  // namespace
}  // namespace torvanik::testing
