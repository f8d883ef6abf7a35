#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace torvanik {
namespace {

using Action = WindowRequest::Action;

TEST(CommandLineTest, DriveOptionsHelpVersionAndNothingElse) {
    const auto run = ParseWindowRequest({"--drive", "A:=/mnt/a", "--drive=C:=/mnt/c,capacity=5"});
    ASSERT_TRUE(run);
    EXPECT_EQ(run->action, Action::kRun);
    EXPECT_EQ(run->drives.mappings,
              (std::vector<std::string>{"A:=/mnt/a", "C:=/mnt/c,capacity=5"}));
    EXPECT_FALSE(run->drives.noEject);
    EXPECT_TRUE(ParseWindowRequest({"--no-eject"})->drives.noEject);
    EXPECT_FALSE(run->drives.noReadBack);
    EXPECT_TRUE(ParseWindowRequest({"--no-verify"})->drives.noReadBack);
    EXPECT_FALSE(run->drives.noCheckFiles);
    EXPECT_TRUE(ParseWindowRequest({"--no-sums"})->drives.noCheckFiles);

    EXPECT_EQ(ParseWindowRequest({})->action, Action::kRun);
    EXPECT_EQ(ParseWindowRequest({"--drive", "A:=/x", "--help"})->action, Action::kHelp);
    EXPECT_EQ(ParseWindowRequest({"-h"})->action, Action::kHelp);
    EXPECT_EQ(ParseWindowRequest({"--version"})->action, Action::kVersion);
    EXPECT_EQ(ParseWindowRequest({"-V"})->action, Action::kVersion);
    for (const auto& wrong : std::vector<std::vector<std::string>>{
             {"--drive"}, {"fil.bmp"}, {"--drive", "A:=/x", "-x"}, {"--", "--no-eject"}}) {
        const auto request = ParseWindowRequest(wrong);
        ASSERT_FALSE(request) << wrong.back();
        EXPECT_FALSE(request.why().text.empty());
    }
}

// Before the toolkit starts, its own options and their values are passed over, ours checked.
TEST(CommandLineTest, ToolkitOptionsArePassedOverBeforeTheToolkitStarts) {
    const auto run = ParseWindowRequest({"-platform", "xcb", "--drive", "A:=/mnt/a", "--style",
                                         "Fusion", "-reverse", "--drive=B:=/mnt/b"},
                                        true);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->action, Action::kRun);
    EXPECT_EQ(run->drives.mappings, (std::vector<std::string>{"A:=/mnt/a", "B:=/mnt/b"}));
    EXPECT_EQ(ParseWindowRequest({"-platform", "xcb", "-V"}, true)->action, Action::kVersion);
    EXPECT_FALSE(ParseWindowRequest({"-platform", "xcb", "--drev", "A:=/x"}, true));
    EXPECT_FALSE(ParseWindowRequest({"-platform", "xcb"}));
}

}  // namespace
}  // namespace torvanik
