#include "engine/settings.h"

#include <cstdio>
#include <filesystem>

#include "engine/transfer_state.h"
#include "platform/settings_location.h"

namespace torvanik {

void LoadSettingsFrom(const std::string& path) {
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr) {
        return;
    }
    unsigned char bytes[2] = {};
    const bool whole = std::fread(bytes, 1, 2, stream) == 2;
    std::fclose(stream);
    // A file the drive dialog cannot have written counts as no file at all.
    if (whole && bytes[0] < kSelectableDrives) {
        transferState.driveIndex = bytes[0];
        transferState.spareSetting = bytes[1];
    }
}

void SaveSettingsTo(const std::string& path) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    if (stream == nullptr) {
        return;
    }
    std::fputc(transferState.driveIndex, stream);
    std::fputc(transferState.spareSetting, stream);
    std::fclose(stream);
}

void LoadSettings() {
    LoadSettingsFrom(SettingsFilePath());
}

void SaveSettings() {
    SaveSettingsTo(SettingsFilePath());
}

}  // namespace torvanik
