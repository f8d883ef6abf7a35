#include "cli/output_guard.h"

#include <cstdio>

#include "cli/exit_status.h"
#include "cli/refusal.h"
#include "res/texts/terminal_texts.h"

namespace torvanik::cli {

void Print(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

int CheckedOutput(int status) {
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
        return status;
    }
    Complain(kOutputFailed);
    return status == kFinished ? kStopped : status;
}

}  // namespace torvanik::cli
