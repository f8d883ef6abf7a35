#include "engine/settings.h"

#include "platform/drive_map.h"
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

int LoadParityDisks(int fallback) {
    FileSystem files;
    auto file = files.OpenRegular(ParityFilePath(), Links::Follow, {});
    if (!file) {
        return fallback;
    }
    char digit = 0;
    const auto read = files.Read(&digit, 1, *file);
    if (!read || *read != 1 || digit < '0' || digit > '0' + kMaxParityDisks) {
        return fallback;
    }
    return digit - '0';
}

void SaveParityDisks(int disks) {
    const char digit = static_cast<char>('0' + disks);
    // A choice that is not kept is only made again at the next start.
    static_cast<void>(ReplaceFileWhole(ParityFilePath(), {&digit, 1}));
}

void LoadSettings(DriveChoice& choice) {
    LoadSettingsFrom(SettingsFilePath(), choice);
}

void SaveSettings(const DriveChoice& choice) {
    SaveSettingsTo(SettingsFilePath(), choice);
}

}  // namespace torvanik
