#include <gmock/gmock.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "cli_fixture.h"
#include "parity_set.h"

namespace torvanik::testing {
namespace {

using ::testing::HasSubstr;

constexpr std::size_t kSource = 250'000;
constexpr std::size_t kSlice = 100'000;  // three data disks, the last one half full

std::string AllPrinted(const Session& session) {
    std::string all;
    for (const std::string& piece : session.pieces) {
        all += piece;
    }
    return all;
}

void FlipByte(const std::string& path) {
    auto bytes = ReadBytes(path);
    bytes[4321] = static_cast<char>(bytes[4321] ^ 0x80);
    WriteBytes(path, bytes);
}

class ParityCliTest : public CliTest {
  protected:
    // Disks 1-3 are data disks, 4 and on parity disks.
    void LayOut(int parityDisks) {
        source = MakeSource("bilde.bmp", kSource);
        std::vector<std::string> disks;
        for (int disk = 1; disk <= 3 + parityDisks; ++disk) {
            disks.push_back(Disk(disk));
        }
        ASSERT_EQ(LayOutParitySet({source, kSlice, parityDisks}, disks), 3);
    }

    std::string source;
    const std::string joined = temp / "joined.bmp";
};

struct JoinCase {
    const char* name;
    int parityDisks;
    std::vector<std::string> options;
    int damaged;  // a data disk with a flipped byte; 0: none
    int first;
    std::vector<Turn> turns;
    int status;
};

class ParityJoinTest : public ParityCliTest, public ::testing::WithParamInterface<JoinCase> {};

TEST_P(ParityJoinTest, RebuildsWhatIsMissingOrRefusesAtTheFirstHole) {
    const JoinCase& run = GetParam();
    LayOut(run.parityDisks);
    if (run.damaged > 0) {
        FlipByte(Disk(run.damaged) + "/bilde_bmp_" + std::to_string(run.damaged));
    }
    std::vector<std::string> verb = run.options;
    verb.insert(verb.end(), {"join", joined});
    const Session session = OverTurns(verb, run.first, run.turns);
    ASSERT_EQ(session.status, run.status) << AllPrinted(session) << session.errors;
    if (run.status == 0) {
        EXPECT_EQ(ReadBytes(joined), ReadBytes(source));
        EXPECT_THAT(AllPrinted(session), HasSubstr("Gjenoppbygger det som mangler."));
        struct stat info {};
        ASSERT_EQ(stat(joined.c_str(), &info), 0);
        EXPECT_EQ(info.st_mtim.tv_sec, kSourceSeconds);
        EXPECT_EQ(info.st_mtim.tv_nsec, kSourceNanoseconds);
    } else {
        EXPECT_THAT(AllPrinted(session), HasSubstr("For mange disketter mangler: 2, "
                                                   "paritetsdiskene dekker 1"));
        ASSERT_TRUE(std::filesystem::exists(joined));
        EXPECT_EQ(std::filesystem::file_size(joined), kSlice);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sets, ParityJoinTest,
    ::testing::Values(
        JoinCase{"FirstMissing", 1, {"--missing=1"}, 0, 4, {{4}, {2}, {3}}, 0},
        JoinCase{"MiddleMissing", 1, {"--missing", "2"}, 0, 1, {{1}, {4}, {3}}, 0},
        JoinCase{"LastMissing", 1, {"--missing=3"}, 0, 1, {{1}, {2}, {4}}, 0},
        JoinCase{"SkippedAtPrompt", 1, {}, 0, 1, {{1}, {2, "s"}, {4}, {3}}, 0},
        JoinCase{"FlippedByteSkipped", 1, {}, 2, 1, {{1}, {2}, {2, "s"}, {4}, {3}}, 0},
        JoinCase{"TwoMissingTwoParity", 2, {"--missing=1,3"}, 0, 4, {{4}, {2}, {5}}, 0},
        JoinCase{"ParityDiskSkipped", 2, {"--missing=2"}, 0, 1, {{1}, {4, "s"}, {5}, {3}}, 0},
        JoinCase{"TwoMissingOneParity", 1, {"--missing=2,3"}, 0, 1, {{1}, {4}}, 5}),
    [](const ::testing::TestParamInfo<JoinCase>& info) { return info.param.name; });

// Unattended, a disk that fails alike three times is gone on without; a parity disk the
// set is not yet known to have is not, and the run ends there.
TEST_F(ParityCliTest, BatchGoesOnWithoutADiskThatKeepsFailing) {
    LayOut(1);
    const Session session = OverTurns({"--batch", "join", joined}, 1, {});
    EXPECT_EQ(session.status, 1);
    EXPECT_THAT(session.errors, HasSubstr("fortsetter uten disken"));
    EXPECT_THAT(AllPrinted(session), HasSubstr("Sett inn paritetsdisk nummer  1"));
    EXPECT_THAT(session.errors, HasSubstr("Disketten er ikke en paritetsdisk"));
}

struct CheckCase {
    const char* name;
    int flipDisk;  // 0: none
    std::string flipFile;
    std::vector<Turn> turns;
    int status;
    std::vector<std::string> lines;
};

class ParityCheckTest : public ParityCliTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(ParityCheckTest, NamesEachBadDiskAndWhetherParityRebuildsIt) {
    const CheckCase& run = GetParam();
    LayOut(1);
    if (run.flipDisk > 0) {
        FlipByte(Disk(run.flipDisk) + "/" + run.flipFile);
    }
    const Session session = OverTurns({"check"}, 1, run.turns);
    EXPECT_EQ(session.status, run.status);
    for (const std::string& line : run.lines) {
        EXPECT_THAT(AllPrinted(session), HasSubstr(line + "\n"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sets, ParityCheckTest,
    ::testing::Values(
        CheckCase{"AllGood",
                  0,
                  "",
                  {{1}, {2}, {3}, {4}},
                  0,
                  {"Paritetsdisk 1: i orden", "Alle disketter i settet er i orden."}},
        CheckCase{"DamagedDisk",
                  2,
                  "bilde_bmp_2",
                  {{1}, {2}, {3}, {4}},
                  4,
                  {"Disk 2 kan gjenoppbygges fra paritetsdiskene (torvanik-cli rebuild 2)."}},
        CheckCase{"MissingDisk",
                  0,
                  "",
                  {{1}, {2, "s"}, {3}, {4}},
                  4,
                  {"Disk 2: mangler",
                   "Disk 2 kan gjenoppbygges fra paritetsdiskene "
                   "(torvanik-cli rebuild 2)."}},
        CheckCase{"TwoBadOneParity",
                  2,
                  "bilde_bmp_2",
                  {{1}, {2}, {3, "s"}, {4}},
                  4,
                  {"Disk 2 kan ikke gjenoppbygges: flere disketter mangler eller er skadet enn "
                   "paritetsdiskene dekker.",
                   "Disk 3 kan ikke gjenoppbygges: flere disketter mangler eller er skadet enn "
                   "paritetsdiskene dekker."}},
        CheckCase{"DamagedParityDisk",
                  4,
                  "bilde_bmp.vol00+01.par2",
                  {{1}, {2}, {3}, {4}, {4, "s"}},
                  4,
                  {"Ikke alle disketter i settet er i orden."}}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return info.param.name; });

struct RebuildCase {
    const char* name;
    int disk;
    int first;
    std::vector<Turn> turns;
};

class ParityRebuildTest : public ParityCliTest,
                          public ::testing::WithParamInterface<RebuildCase> {};

TEST_P(ParityRebuildTest, WritesTheLostDisksFilesByteForByte) {
    const RebuildCase& run = GetParam();
    LayOut(1);
    const std::string lost = Disk(run.disk);
    std::map<std::string, std::vector<char>> before;
    for (const std::string& name : NamesIn(lost)) {
        before[name] = ReadBytes(lost + "/" + name);
    }
    std::filesystem::remove_all(lost);
    std::filesystem::create_directories(lost);

    const Session session = OverTurns({"rebuild", std::to_string(run.disk)}, run.first, run.turns);
    ASSERT_EQ(session.status, 0) << AllPrinted(session) << session.errors;
    std::map<std::string, std::vector<char>> after;
    for (const std::string& name : NamesIn(lost)) {
        after[name] = ReadBytes(lost + "/" + name);
    }
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Disks, ParityRebuildTest,
                         ::testing::Values(RebuildCase{"Middle", 2, 1, {{1}, {4}, {3}, {2}}},
                                           RebuildCase{"First", 1, 4, {{4}, {2}, {3}, {1}}}),
                         [](const ::testing::TestParamInfo<RebuildCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace torvanik::testing
