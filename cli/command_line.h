#pragma once

#include <optional>
#include <string>
#include <vector>

// The arguments of torvanik-cli:
//   [--drive X:=TARGET[,capacity=N]]... [--select X:] [--no-eject] [--no-verify] [--overwrite]
//   [--batch] [--auto] [--resume] [--no-sums]
//   split FILE | join DESTINATION | check | drives
//   -h | --help | -V | --version
namespace torvanik::cli {

enum class Verb { kHelp, kVersion, kSplit, kJoin, kCheck, kDrives };

struct CommandLine {
    Verb verb = Verb::kHelp;
    // The --drive values, for the drive map's own parser.
    std::vector<std::string> driveOptions;
    // The drive chosen with --select, as an index into DriveRoots.
    std::optional<int> selectedDrive;
    bool overwrite = false;
    bool noEject = false;
    bool noVerify = false;   // the disks are not read back after their steps
    bool batch = false;      // no [KLAR] prompt: every disk is taken as it is found
    bool automatic = false;  // the next disk is taken as soon as it is inserted
    bool resume = false;     // carry on with the set on the disks where it stopped
    bool noSums = false;     // no check file is written on the disks
    // FILE of split, DESTINATION of join.
    std::string path;
};

// A command line, or the refusal (in Norwegian) that says why there is none.
struct ParsedCommandLine {
    std::optional<CommandLine> commandLine;
    std::string refusal;
};

// `arguments` without the program's own name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace torvanik::cli
