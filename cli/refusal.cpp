#include "cli/refusal.h"

#include <cstdio>

#include "cli/cli_texts.h"
#include "cli/exit_status.h"

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

}  // namespace torvanik::cli
