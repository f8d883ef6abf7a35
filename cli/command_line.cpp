#include "cli/command_line.h"

#include "cli/cli_texts.h"
#include "cli/fill.h"
#include "engine/drive_choice.h"
#include "platform/drive_map.h"

namespace torvanik::cli {
namespace {

ParsedCommandLine Refused(std::string refusal) {
    return {std::nullopt, std::move(refusal)};
}

bool IsOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    std::vector<std::string> words;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !IsOption(argument)) {
            words.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "--version") {
            line.verb = argument == "--help" ? Verb::kHelp : Verb::kVersion;
            return {line, {}};
        } else if (argument == "--overwrite") {
            line.overwrite = true;
        } else if (argument == "--no-eject") {
            line.noEject = true;
        } else if (argument == "--no-verify") {
            line.noVerify = true;
        } else if (argument == "--no-sums") {
            line.noSums = true;
        } else if (argument == "--drive" || argument == "--select") {
            if (i + 1 == arguments.size()) {
                return Refused(Fill(kMissingValue, argument));
            }
            const std::string& value = arguments[++i];
            if (argument == "--drive") {
                line.driveOptions.push_back(value);
                continue;
            }
            const int index = DriveIndexOf(value);
            if (index < 0 || index >= kSelectableDrives) {
                return Refused(Fill(kBadSelect, value));
            }
            line.selectedDrive = index;
        } else {
            return Refused(Fill(kUnknownOption, argument));
        }
    }

    if (words.empty()) {
        return Refused(std::string(kMissingVerb));
    }
    if (words[0] == "split") {
        line.verb = Verb::kSplit;
    } else if (words[0] == "join") {
        line.verb = Verb::kJoin;
    } else if (words[0] == "check") {
        line.verb = Verb::kCheck;
    } else {
        return Refused(Fill(kUnknownVerb, words[0]));
    }
    const std::size_t wordCount = line.verb == Verb::kCheck ? 1 : 2;
    if (words.size() < wordCount) {
        return Refused(Fill(kMissingFile, words[0]));
    }
    if (words.size() > wordCount) {
        return Refused(Fill(kTooManyArguments, words[wordCount]));
    }
    if (line.overwrite && line.verb != Verb::kJoin) {
        return Refused(std::string(kOverwriteOnlyJoin));
    }
    if (line.verb != Verb::kCheck) {
        line.path = words[1];
    }
    return {line, {}};
}

}  // namespace torvanik::cli
