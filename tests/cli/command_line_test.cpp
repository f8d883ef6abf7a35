#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace torvanik::testing {
namespace {

using cli::CommandLine;
using cli::ParseCommandLine;

// Each switch sets its own field and no other.
TEST(CliCommandLineTest, EachSwitchSetsItsField) {
    const std::pair<const char*, bool CommandLine::*> switches[] = {
        {"--no-eject", &CommandLine::noEject},   {"--no-verify", &CommandLine::noVerify},
        {"--batch", &CommandLine::batch},        {"--auto", &CommandLine::automatic},
        {"--resume", &CommandLine::resume},      {"--no-sums", &CommandLine::noSums},
        {"--overwrite", &CommandLine::overwrite}};
    for (const auto& [option, field] : switches) {
        const auto parsed = ParseCommandLine({"join", option, "ut.bin"});
        ASSERT_TRUE(parsed.commandLine) << option << ": " << parsed.refusal;
        for (const auto& [other, otherField] : switches) {
            EXPECT_EQ((*parsed.commandLine).*otherField, field == otherField) << option << other;
        }
    }
}

}  // namespace
}  // namespace torvanik::testing
