#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cli_process.h"
#include "support/temp_folder.h"

namespace torvanik::testing {

inline constexpr const char* kPrompt = "[KLAR] ";

// What a run printed: standard output cut after each prompt (the last piece is what came
// after the last prompt), standard error, and the exit status.
struct Session {
    int status = -1;
    std::vector<std::string> pieces;
    std::string errors;
};

// One prompt of a run over disks: the disk put in the drive before it is answered (0: the
// drive left as it is), and the line answered.
struct Turn {
    int disk = 0;
    std::string answer = {};
};

// A temporary configuration folder and drive A: as a folder with a capacity, and a user
// who swaps the disks: each disk's files go to a folder of their own between KLARs.
class CliTest : public ::testing::Test {
  protected:
    CliTest();

    std::unique_ptr<CliProcess> Start(const std::vector<std::string>& arguments,
                                      const CliStart& start = {}) const;
    // Runs to the end, answering every prompt with an empty line.
    Session Run(const std::vector<std::string>& arguments, const CliStart& start = {}) const;

    // Splits `source` over the disks, with `extra` options before the verb; the files of
    // disk n end up in Disk(n).
    Session SplitOntoDisks(const std::string& source, const std::vector<std::string>& extra = {},
                           const CliStart& start = {}) const;
    // Joins Disk(1) ... Disk(count) into `destination`, putting each disk in when asked.
    Session JoinFromDisks(const std::string& destination, int count,
                          const std::vector<std::string>& extra = {}) const;
    // Checks Disk(1) ... Disk(count) the same way; the last disk goes back to its folder.
    Session CheckDisks(int count) const;

    // Runs `verb` (options, verb and its arguments) with Disk(1) in, putting in each next
    // disk when asked.
    Session OverDisks(const std::vector<std::string>& verb, int count) const;
    // Runs `verb` with Disk(first) in, then takes the turns one prompt each; a prompt beyond
    // them is answered "q". The disk in the drive goes back to its folder at the end.
    Session OverTurns(const std::vector<std::string>& verb, int first,
                      const std::vector<Turn>& turns) const;

    std::string Disk(int number) const { return temp / ("disk" + std::to_string(number)); }
    std::vector<std::string> DriveOption(const std::string& letter, const std::string& folder,
                                         std::uint64_t capacity = 1'000'000) const;
    std::string MakeSource(const std::string& name, std::size_t size) const;

    TempFolder temp;
    const std::string config = temp / "config";
    const std::string drive = temp / "drive";
};

// The text of a notice as printed: its lines, then an empty line.
std::string Printed(const std::vector<std::string>& lines);

}  // namespace torvanik::testing
