#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace torvanik {
namespace {

using Action = CommandLine::Action;

TEST(CommandLineTest, DriveOptionsHelpVersionAndNothingElse) {
    const CommandLine run =
        ParseCommandLine({"--drive", "A:=/mnt/a", "--drive=C:=/mnt/c,capacity=5"});
    EXPECT_EQ(run.action, Action::kRun);
    EXPECT_EQ(run.driveOptions, (std::vector<std::string>{"A:=/mnt/a", "C:=/mnt/c,capacity=5"}));
    EXPECT_FALSE(run.noEject);
    EXPECT_TRUE(ParseCommandLine({"--no-eject"}).noEject);
    EXPECT_FALSE(run.noVerify);
    EXPECT_TRUE(ParseCommandLine({"--no-verify"}).noVerify);
    EXPECT_FALSE(run.noSums);
    EXPECT_TRUE(ParseCommandLine({"--no-sums"}).noSums);

    EXPECT_EQ(ParseCommandLine({}).action, Action::kRun);
    EXPECT_EQ(ParseCommandLine({"--drive", "A:=/x", "--help"}).action, Action::kHelp);
    EXPECT_EQ(ParseCommandLine({"-h"}).action, Action::kHelp);
    EXPECT_EQ(ParseCommandLine({"--version"}).action, Action::kVersion);
    EXPECT_EQ(ParseCommandLine({"-V"}).action, Action::kVersion);
    for (const auto& wrong : std::vector<std::vector<std::string>>{
             {"--drive"}, {"fil.bmp"}, {"--drive", "A:=/x", "-x"}, {"--", "--no-eject"}}) {
        const CommandLine line = ParseCommandLine(wrong);
        EXPECT_EQ(line.action, Action::kError) << wrong.back();
        EXPECT_FALSE(line.error.empty());
    }
}

// Before the toolkit starts, its own options and their values are passed over, ours checked.
TEST(CommandLineTest, ToolkitOptionsArePassedOverBeforeTheToolkitStarts) {
    const CommandLine run = ParseCommandLine({"-platform", "xcb", "--drive", "A:=/mnt/a", "--style",
                                              "Fusion", "-reverse", "--drive=B:=/mnt/b"},
                                             true);
    EXPECT_EQ(run.action, Action::kRun);
    EXPECT_EQ(run.driveOptions, (std::vector<std::string>{"A:=/mnt/a", "B:=/mnt/b"}));
    EXPECT_EQ(ParseCommandLine({"-platform", "xcb", "-V"}, true).action, Action::kVersion);
    EXPECT_EQ(ParseCommandLine({"-platform", "xcb", "--drev", "A:=/x"}, true).action,
              Action::kError);
    EXPECT_EQ(ParseCommandLine({"-platform", "xcb"}).action, Action::kError);
}

}  // namespace
}  // namespace torvanik
