#include "cli/drive_listing.h"

#include <cstdio>

#include "cli/exit_status.h"
#include "cli/output_guard.h"
#include "cli/refusal.h"
#include "engine/drive_choice.h"
#include "platform/drive_description.h"
#include "res/texts/terminal_texts.h"

namespace torvanik::cli {

std::string DriveListing(const DriveMap& drives, FileSystem& files) {
    std::string text;
    for (int index = 0; index < kDriveLetters; ++index) {
        if (const DriveMapping* mapping = drives.Find(index)) {
            text += std::string(DriveRoots[static_cast<std::size_t>(index)]) + " " +
                    DescribeTarget(*mapping) + std::string(kLeadsTo) +
                    DescribeDriveContents(drives, files, index) + "\n";
        }
    }
    return text;
}

int ListDrives(const CliRequest& request) {
    DriveMap drives;
    if (const auto refused = RefusedDriveMap(request, drives)) {
        return *refused;
    }
    FileSystem files;
    Print(DriveListing(drives, files));
    return kFinished;
}

}  // namespace torvanik::cli
