#include "engine/settings.h"

#include <cstdio>

#include "platform/durable_file.h"
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

void SaveSettingsTo(const std::string& path, const DriveChoice& choice) {
    const char bytes[2] = {static_cast<char>(choice.driveIndex),
                           static_cast<char>(choice.spareSetting)};
    // A choice that is not kept is only asked for again at the next start.
    static_cast<void>(ReplaceFileWhole(path, {bytes, 2}));
}

void LoadSettings(DriveChoice& choice) {
    LoadSettingsFrom(SettingsFilePath(), choice);
}

void SaveSettings(const DriveChoice& choice) {
    SaveSettingsTo(SettingsFilePath(), choice);
}

}  // namespace torvanik
