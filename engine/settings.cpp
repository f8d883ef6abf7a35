#include "engine/settings.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "engine/disk_commit.h"
#include "platform/file_system.h"
#include "platform/settings_location.h"

namespace torvanik {

void LoadSettingsFrom(const std::string& path, DriveChoice& choice) {
    std::FILE* stream = OpenRegularFile(path, Links::Follow).stream;
    if (stream == nullptr) {
        return;
    }
    unsigned char bytes[2] = {};
    const bool whole = std::fread(bytes, 1, 2, stream) == 2;
    std::fclose(stream);
    // A file the drive dialog cannot have written counts as no file at all.
    if (whole && bytes[0] < kSelectableDrives) {
        choice.driveIndex = bytes[0];
        choice.spareSetting = bytes[1];
    }
}

// Written whole under a temporary name and renamed over the file, never through a link.
void SaveSettingsTo(const std::string& path, const DriveChoice& choice) {
    const std::filesystem::path target(path);
    std::error_code ignored;
    std::filesystem::create_directories(target.parent_path(), ignored);
    const std::string temporary =
        (target.parent_path() / (std::string(kTemporaryPrefix) + target.filename().string()))
            .string();
    unlink(temporary.c_str());
    const int fd =
        open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return;
    }
    const unsigned char bytes[2] = {static_cast<unsigned char>(choice.driveIndex),
                                    static_cast<unsigned char>(choice.spareSetting)};
    const bool written = write(fd, bytes, 2) == 2 && fsync(fd) == 0;
    if (close(fd) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
    }
}

void LoadSettings(DriveChoice& choice) {
    LoadSettingsFrom(SettingsFilePath(), choice);
}

void SaveSettings(const DriveChoice& choice) {
    SaveSettingsTo(SettingsFilePath(), choice);
}

}  // namespace torvanik
