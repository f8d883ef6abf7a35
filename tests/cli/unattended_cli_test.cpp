#include <string>
#include <vector>

#include "cli/failure_streak.h"
#include "cli_fixture.h"

namespace torvanik::testing {
namespace {

constexpr const char* kDiskFull = "Disketten er full.";
constexpr const char* kGaveUp = "samme feil tre ganger på rad uten at disken ble byttet";

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

struct FullDiskCase {
    const char* name;
    std::vector<std::string> options;
};

class CliFullDiskTest : public CliTest, public ::testing::WithParamInterface<FullDiskCase> {};

// Nobody changes the disk, and an answer waits at every [KLAR].
TEST_P(CliFullDiskTest, EndsAfterThreeAlikeFailures) {
    const std::string source = MakeSource("stor.bin", 5000);
    std::vector<std::string> arguments = DriveOption("A:", drive, 100);
    arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
    arguments.insert(arguments.end(), {"split", source});
    auto cli = Start(arguments);
    for (int line = 0; line < 1000; ++line) {
        cli->SendLine("");
    }
    EXPECT_EQ(cli->Wait(), 1);
    const std::string printed = cli->Rest();
    EXPECT_EQ(Count(printed, kDiskFull), 3u) << printed;
    EXPECT_NE(cli->errors().find(std::string(kGaveUp) + ": Ingen plass igjen på disketten"),
              std::string::npos)
        << cli->errors();
}

INSTANTIATE_TEST_SUITE_P(Runs, CliFullDiskTest,
                         ::testing::Values(FullDiskCase{"PipedInput", {}},
                                           FullDiskCase{"Batch", {"--batch"}}),
                         [](const ::testing::TestParamInfo<FullDiskCase>& info) {
                             return info.param.name;
                         });

// One step of a run: the disk as the step finds it, how it ends, the disk as it leaves it.
struct Step {
    std::string diskBefore;
    StepResult result;
    std::string reason;
    std::string diskAfter;
};

struct StreakCase {
    const char* name;
    std::vector<Step> steps;
    int givesUpAt;  // index of the step after which the run ends; -1 for never
};

class CliFailureStreakTest : public ::testing::TestWithParam<StreakCase> {};

TEST_P(CliFailureStreakTest, GivesUpOnlyAfterThreeAlikeFailuresOnAnUnchangedDisk) {
    cli::FailureStreak streak;
    int gaveUp = -1;
    for (std::size_t i = 0; i < GetParam().steps.size() && gaveUp < 0; ++i) {
        const Step& step = GetParam().steps[i];
        streak.BeforeStep(step.diskBefore);
        if (streak.AfterStep(step.result, step.reason, step.diskAfter)) {
            gaveUp = static_cast<int>(i);
        }
    }
    EXPECT_EQ(gaveUp, GetParam().givesUpAt);
}

constexpr auto kFull = StepResult::kDiskFull;
constexpr auto kSame = StepResult::kSameDisk;
constexpr auto kOn = StepResult::kAdvanced;

INSTANTIATE_TEST_SUITE_P(
    Runs, CliFailureStreakTest,
    ::testing::Values(
        StreakCase{
            "ThreeAlike", {{"a", kFull, "", "a"}, {"a", kFull, "", "a"}, {"a", kFull, "", "a"}}, 2},
        StreakCase{"DiskSwappedBetween",
                   {{"a", kFull, "", "a"}, {"b", kFull, "", "b"}, {"b", kFull, "", "b"}},
                   -1},
        StreakCase{"DiskChangedThenLeftAgain",
                   {{"a", kFull, "", "a"},
                    {"b", kFull, "", "b"},
                    {"b", kFull, "", "b"},
                    {"b", kFull, "", "b"}},
                   3},
        // A step that itself changes the disk is no user changing it.
        StreakCase{"StepChangesTheDisk",
                   {{"a", kSame, "r", "a1"}, {"a1", kSame, "r", "a2"}, {"a2", kSame, "r", "a3"}},
                   2},
        StreakCase{"OtherReason",
                   {{"a", kSame, "r", "a"}, {"a", kSame, "s", "a"}, {"a", kSame, "s", "a"}},
                   -1},
        StreakCase{"OtherResult",
                   {{"a", kSame, "r", "a"}, {"a", kFull, "r", "a"}, {"a", kFull, "r", "a"}},
                   -1},
        StreakCase{"SuccessBetween",
                   {{"a", kFull, "", "a"},
                    {"a", kFull, "", "a"},
                    {"a", kOn, "", "a"},
                    {"a", kFull, "", "a"},
                    {"a", kFull, "", "a"}},
                   -1}),
    [](const ::testing::TestParamInfo<StreakCase>& info) { return info.param.name; });

}  // namespace
}  // namespace torvanik::testing
