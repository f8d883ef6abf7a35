#include "platform/drive_options.h"

namespace torvanik {

bool DriveOptions::Take(const GivenOption& given) {
    if (given.name == "drive") {
        mappings.push_back(given.value);
    } else if (given.name == "no-eject") {
        noEject = true;
    } else if (given.name == "no-verify") {
        noReadBack = true;
    } else if (given.name == "no-sums") {
        noCheckFiles = true;
    } else {
        return false;
    }
    return true;
}

void DriveOptions::OverrideSettings(DriveSettings& settings) const {
    settings.eject = settings.eject && !noEject;
    settings.readBack = settings.readBack && !noReadBack;
    settings.checkFile = settings.checkFile && !noCheckFiles;
}

}  // namespace torvanik
