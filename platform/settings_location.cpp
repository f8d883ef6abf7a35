#include "platform/settings_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace torvanik {

std::string ConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return std::string(config) + "/torvanik";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : "/";
    }
    return std::string(home) + "/.config/torvanik";
}

std::string SettingsFilePath() {
    return ConfigFolder() + "/Torvanik.hsk";
}

std::string DrivesFilePath() {
    return ConfigFolder() + "/drives";
}

}  // namespace torvanik
