#include "engine/set_on_disk.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "engine/check_file.h"
#include "engine/disk_set.h"

namespace torvanik {

DiskInDrive DiskForStep(const EngineSeams& seams, int disk, DiskUse use) {
    return seams.drives.Resolve(seams.drive.driveIndex, disk, use);
}

std::string InfoPathOn(const EngineSeams& seams, const DiskInDrive& drive) {
    return DiskPath(drive, InfoFilePath(seams.drive.Root()));
}

std::string ChunkPathOn(const EngineSeams& seams, const DiskInDrive& drive,
                        std::string_view setName, int disk) {
    return DiskPath(drive, ChunkPath(seams.drive.Root(), ChunkBaseName(setName), disk));
}

std::string CheckFilePathOn(const EngineSeams& seams, const DiskInDrive& drive,
                            std::string_view identity) {
    return DiskPath(drive, std::string(seams.drive.Root()) + "\\" + CheckFileName(identity));
}

Why NoDiskWhy(const DiskInDrive& drive) {
    if (drive.inUse) {
        return {Reason::kInUse, 0, {}};
    }
    return drive.whyNone.empty() ? Why{Reason::kNoDrive, 0, {}}
                                 : Why{Reason::kNone, 0, drive.whyNone};
}

bool SourceIsOnDisk(const EngineSeams& seams, File& source, const DiskInDrive& drive,
                    std::string_view setName, int disk) {
    const auto id = seams.files.Identify(source);
    if (!id || drive.folder.empty()) {
        return false;
    }
    for (const std::string& path :
         {InfoPathOn(seams, drive), ChunkPathOn(seams, drive, setName, disk)}) {
        const auto there = seams.files.Identify(path, Links::Refuse);
        if (there && there->SameFile(*id)) {
            return true;
        }
    }
    return false;
}

bool DestinationIsOfSet(const EngineSeams& seams, const std::string& destination,
                        std::string_view setName) {
    const DiskInDrive drive = DiskForStep(seams, 1, DiskUse::Read);
    if (drive.folder.empty()) {
        return false;
    }
    FileSystem& files = seams.files;
    const std::filesystem::path path(destination);
    const auto folder = files.Identify(drive.folder, Links::Follow);
    const auto parent = files.Identify(path.parent_path().string(), Links::Follow);
    const auto target = files.Identify(destination, Links::Follow);

    const std::string chunkPrefix =
        std::filesystem::path(ChunkPathOn(seams, drive, setName, 0)).filename().string();
    const std::string prefix = chunkPrefix.substr(0, chunkPrefix.size() - 1);
    const auto isSetName = [&prefix](std::string_view name) {
        return name == "INFO.FIL" ||
               (name.size() > prefix.size() && name.starts_with(prefix) &&
                name.find_first_not_of("0123456789", prefix.size()) == std::string_view::npos);
    };
    if (folder && parent && folder->SameFile(*parent) && isSetName(path.filename().string())) {
        return true;
    }
    if (!target) {
        return false;
    }
    std::vector<std::string> names = files.NamesStartingWith(drive.folder, prefix);
    names.emplace_back("INFO.FIL");
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        const auto there = files.Identify(drive.folder + "/" + name, Links::Refuse);
        return isSetName(name) && there && there->SameFile(*target);
    });
}

}  // namespace torvanik
