#pragma once

#include <optional>
#include <string>
#include <vector>

// The arguments of torvanik-cli:
//   [--drive X:=TARGET[,capacity=N]]... [--select X:] [--no-eject] [--no-verify] [--no-sums]
//   [--overwrite] split FILE | join DESTINATION | check
//   --help | --version
namespace torvanik::cli {

enum class Verb { kHelp, kVersion, kSplit, kJoin, kCheck };

struct CommandLine {
    Verb verb = Verb::kHelp;
    // The --drive values, for the drive map's own parser.
    std::vector<std::string> driveOptions;
    // The drive chosen with --select, as an index into DriveRoots.
    std::optional<int> selectedDrive;
    bool overwrite = false;
    bool noEject = false;
    bool noVerify = false;  // the disks are not read back after their steps
    bool noSums = false;    // no check files are written, nor checked at the join
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
