#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace torvanik::testing {
namespace {

using cli::CliRequest;
using cli::ParseCliRequest;

// Each switch sets its own field and no other.
TEST(CliCommandLineTest, EachSwitchSetsItsField) {
    using Field = bool (*)(const CliRequest&);
    const std::pair<const char*, Field> switches[] = {
        {"--no-eject", [](const CliRequest& r) { return r.drives.noEject; }},
        {"--no-verify", [](const CliRequest& r) { return r.drives.noReadBack; }},
        {"--no-sums", [](const CliRequest& r) { return r.drives.noCheckFiles; }},
        {"--batch", [](const CliRequest& r) { return r.batch; }},
        {"--auto", [](const CliRequest& r) { return r.automatic; }},
        {"--resume", [](const CliRequest& r) { return r.resume; }},
        {"--overwrite", [](const CliRequest& r) { return r.overwrite; }}};
    for (const auto& [option, field] : switches) {
        const auto parsed = ParseCliRequest({"join", option, "ut.bin"});
        ASSERT_TRUE(parsed) << option << ": " << parsed.why().text;
        for (const auto& [other, otherField] : switches) {
            EXPECT_EQ(otherField(*parsed), field == otherField) << option << other;
        }
    }
}

TEST(CliCommandLineTest, ParityIsOneDiskAloneOrTheNumberGiven) {
    for (const auto& [arguments, disks] :
         std::vector<std::pair<std::vector<std::string>, int>>{{{"split", "a"}, 0},
                                                               {{"--parity", "split", "a"}, 1},
                                                               {{"split", "--parity=9", "a"}, 9},
                                                               {{"--par=3", "split", "a"}, 3}}) {
        const auto parsed = ParseCliRequest(arguments);
        ASSERT_TRUE(parsed) << parsed.why().text;
        EXPECT_EQ(parsed->parityDisks, disks);
    }
}

}  // namespace
}  // namespace torvanik::testing
