#include "platform/settings_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace torvanik {

namespace {

// $VARIABLE/torvanik when it names an absolute folder, else `fallback`/torvanik at home.
std::string UserFolder(const char* variable, const char* fallback) {
    const char* set = std::getenv(variable);
    if (set != nullptr && set[0] == '/') {
        return std::string(set) + "/torvanik";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : "/";
    }
    return std::string(home) + "/" + fallback + "/torvanik";
}

}  // namespace

std::string ConfigFolder() {
    return UserFolder("XDG_CONFIG_HOME", ".config");
}

std::string StateFolder() {
    return UserFolder("XDG_STATE_HOME", ".local/state");
}

std::string SettingsFilePath() {
    return ConfigFolder() + "/Torvanik.hsk";
}

std::string ScratchFolder() {
    const char* set = std::getenv("TMPDIR");
    return set != nullptr && set[0] == '/' ? std::string(set) : std::string("/var/tmp");
}

std::string ParityFilePath() {
    return ConfigFolder() + "/parity";
}

std::string DrivesFilePath() {
    return ConfigFolder() + "/drives";
}

}  // namespace torvanik
