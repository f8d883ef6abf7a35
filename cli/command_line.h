#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/drive_options.h"
#include "platform/result.h"

// The arguments of torvanik-cli:
//   [--drive X:=TARGET[,capacity=N]]... [--select X:] [--no-eject] [--no-verify] [--overwrite]
//   [--batch] [--auto] [--resume] [--no-sums] [--parity[=N]] [--missing LIST]
//   split FILE | join DESTINATION | check | rebuild DISK | drives
//   -h | --help | -V | --version
namespace torvanik::cli {

enum class Verb { kHelp, kVersion, kSplit, kJoin, kCheck, kRebuild, kDrives };

// What torvanik-cli is asked to do: the verb and its file, on which drives, and how.
struct CliRequest {
    Verb verb = Verb::kHelp;
    DriveOptions drives;
    // The drive chosen with --select, as an index into DriveRoots.
    std::optional<int> selectedDrive;
    bool overwrite = false;
    bool batch = false;      // no [KLAR] prompt: every disk is taken as it is found
    bool automatic = false;  // the next disk is taken as soon as it is inserted
    bool resume = false;     // carry on with the set on the disks where it stopped
    // The disks a join goes on without (--missing), in the order given.
    std::vector<int> missing;
    // DISK of rebuild: the disk to write anew.
    int rebuildDisk = 0;
    int parityDisks = 0;     // --parity of split: parity disks after the data disks
    // FILE of split, DESTINATION of join.
    std::string path;
};

// `arguments` without the program's own name; a refusal (in Norwegian) in the Why's text.
Result<CliRequest> ParseCliRequest(const std::vector<std::string>& arguments);

}  // namespace torvanik::cli
