#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace torvanik {
namespace {

struct Outcome {
    int status = -1;
    std::string output;  // standard output and error
};

// Starts the program where no display can be found, as over SSH without one.
Outcome StartWithoutDisplay(const std::string& arguments) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                std::string(TORVANIK_PATH) + " " + arguments + " 2>&1";
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        run.output += buffer.data();
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Mistakes on the command line are told with the usage text before a display is looked for;
// without one, the program says so in its own words.
TEST(ProgramStartTest, CommandLineIsCheckedBeforeTheDisplay) {
    for (const char* wrong : {"--drive Q9=/tmp", "--drive", "--colour"}) {
        const Outcome run = StartWithoutDisplay(wrong);
        EXPECT_EQ(run.status, 2) << wrong;
        EXPECT_NE(run.output.find("Bruk: torvanik"), std::string::npos) << run.output;
    }
    const Outcome run = StartWithoutDisplay("--drive A:=/tmp");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("torvanik: finner ingen skjerm"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace torvanik
