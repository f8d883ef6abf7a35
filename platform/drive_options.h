#pragma once

#include <string>
#include <vector>

#include "platform/drive_map.h"
#include "platform/program_options.h"

// The options both programs take for their drives: --drive X:=TARGET[,capacity=N]
// (repeatable), --no-eject, --no-verify and --no-sums.
namespace torvanik {

struct DriveOptions {
    std::vector<std::string> mappings;  // the --drive values, for the drive map's own parser
    bool noEject = false;
    bool noReadBack = false;    // the disks are not read back after their steps
    bool noCheckFiles = false;  // no check files are written, nor checked at the join

    // Takes `given` when it is one of these options; false when it is another.
    bool Take(const GivenOption& given);
    // The switches given, over what the drives file says.
    void OverrideSettings(DriveSettings& settings) const;
};

// Their entries in a program's table of options.
inline constexpr ProgramOption kDriveOptionTable[] = {
    {"drive", true}, {"no-eject"}, {"no-verify"}, {"no-sums"}};

}  // namespace torvanik
