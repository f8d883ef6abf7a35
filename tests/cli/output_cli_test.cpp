#include <filesystem>

#include "cli_fixture.h"

namespace torvanik::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOutputFailed = "torvanik-cli: kunne ikke skrive til standard utdata";

using CliOutputTest = CliTest;

// The reader goes away while disk 1 waits: the step that follows is undone like one
// stopped by SIGTERM, and no temporary stays on the disk.
TEST_F(CliOutputTest, ReaderGoneLeavesTheDiskAsItWas) {
    const std::string source = MakeSource("film.bin", 2'500'000);
    auto arguments = DriveOption("A:", drive);
    arguments.insert(arguments.end(), {"split", source});
    auto cli = Start(arguments);
    ASSERT_TRUE(cli->ReadUntil(kPrompt));
    cli->CloseOutput();
    cli->SendLine("");
    cli->SendLine("");
    EXPECT_EQ(cli->Wait(), 1);
    EXPECT_TRUE(fs::is_empty(drive));
    EXPECT_NE(cli->errors().find(kOutputFailed), std::string::npos) << cli->errors();
}

TEST_F(CliOutputTest, FullOutputFailsAFinishedSplit) {
    const std::string source = MakeSource("liten.bin", 5000);
    auto arguments = DriveOption("A:", drive);
    arguments.insert(arguments.end(), {"split", source});
    auto cli = Start(arguments, {.stdoutPath = "/dev/full"});
    cli->SendLine("");
    EXPECT_EQ(cli->Wait(), 1);
    EXPECT_TRUE(fs::exists(drive + "/INFO.FIL"));
    EXPECT_NE(cli->errors().find(kOutputFailed), std::string::npos) << cli->errors();
}

}  // namespace
}  // namespace torvanik::testing
