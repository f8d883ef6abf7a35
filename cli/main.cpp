// torvanik-cli: splits a file over several disks and joins it back, from a terminal.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/drive_listing.h"
#include "cli/exit_status.h"
#include "cli/fill.h"
#include "cli/output_guard.h"
#include "cli/refusal.h"
#include "cli/transfer_run.h"
#include "platform/user_locale.h"
#include "res/texts/terminal_texts.h"

int main(int argc, char** argv) {
    using namespace torvanik::cli;
    torvanik::FollowUserLanguage();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto request = ParseCliRequest(arguments);
    if (!request) {
        return Refuse(request.why().text);
    }
    switch (request->verb) {
        case Verb::kHelp:
            Print(kUsage);
            Print("\n");
            Print(kHelp);
            return CheckedOutput(kFinished);
        case Verb::kVersion:
            Print(Fill(kVersionFormat, TORVANIK_VERSION));
            return CheckedOutput(kFinished);
        case Verb::kDrives:
            return CheckedOutput(ListDrives(*request));
        case Verb::kSplit:
        case Verb::kJoin:
        case Verb::kCheck:
        case Verb::kRebuild:
            break;
    }
    return CheckedOutput(RunTransfer(*request, std::cin));
}
