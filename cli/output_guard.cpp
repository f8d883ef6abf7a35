#include "cli/output_guard.h"

#include <cstdio>

#include "cli/cli_texts.h"
#include "cli/exit_status.h"

namespace torvanik::cli {

void Print(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

int CheckedOutput(int status) {
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
        return status;
    }
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(kProgramName.size()), kProgramName.data(),
                 static_cast<int>(kOutputFailed.size()), kOutputFailed.data());
    return status == kFinished ? kStopped : status;
}

}  // namespace torvanik::cli
