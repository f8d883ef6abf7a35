#include "cli/refusal.h"

#include <cstdio>

#include "cli/exit_status.h"
#include "platform/drive_map_parsing.h"
#include "platform/settings_location.h"
#include "res/texts/option_texts.h"
#include "res/texts/terminal_texts.h"

namespace torvanik::cli {

void Complain(std::string_view message) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(kProgramName.size()), kProgramName.data(),
                 static_cast<int>(message.size()), message.data());
}

int Refuse(std::string_view message) {
    std::fprintf(stderr, "%.*s: %.*s\n%.*s", static_cast<int>(kProgramName.size()),
                 kProgramName.data(), static_cast<int>(message.size()), message.data(),
                 static_cast<int>(kUsage.size()), kUsage.data());
    return kUsageError;
}

std::optional<int> RefusedDriveMap(const CliRequest& request, DriveMap& drives) {
    for (const std::string& option : request.drives.mappings) {
        DriveMap scratch;
        if (auto parsed = ParseDriveOption(option, scratch); !parsed) {
            return Refuse(parsed.why().text);
        }
    }
    Result<DriveMap> built = BuildDriveMap(request.drives.mappings, DrivesFilePath());
    if (!built) {
        Complain(built.why().text);
        return kUsageError;
    }
    drives = std::move(*built);
    return std::nullopt;
}

std::optional<int> RefusedParity(const CliRequest& request, DriveSettings& settings) {
    if (request.parityDisks > 0) {
        settings.parityDisks = request.parityDisks;
    }
    if (request.verb == Verb::kSplit && settings.parityDisks > 0 && !settings.checkFile) {
        return Refuse(option_text::kParityWithoutSums);
    }
    return std::nullopt;
}

}  // namespace torvanik::cli
