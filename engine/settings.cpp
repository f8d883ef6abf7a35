#include "engine/settings.h"

#include "platform/durable_file.h"
#include "platform/file_system.h"
#include "platform/settings_location.h"

namespace torvanik {

void LoadSettingsFrom(const std::string& path, DriveChoice& choice) {
    FileSystem files;
    auto file = files.OpenRegular(path, Links::Follow, {});
    if (!file) {
        return;
    }
    unsigned char bytes[2] = {};
    const auto read = files.Read(bytes, 2, *file);
    const bool whole = read && *read == 2;
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
