#include "cli/command_line.h"

#include "cli/cli_texts.h"
#include "cli/fill.h"
#include "engine/drive_choice.h"
#include "platform/drive_map.h"
#include "platform/program_options.h"

namespace torvanik::cli {
namespace {

struct Switch {
    std::string_view name;
    bool CommandLine::*field;
};

constexpr Switch kSwitches[] = {
    {"overwrite", &CommandLine::overwrite}, {"no-eject", &CommandLine::noEject},
    {"no-verify", &CommandLine::noVerify},  {"batch", &CommandLine::batch},
    {"auto", &CommandLine::automatic},      {"resume", &CommandLine::resume},
    {"no-sums", &CommandLine::noSums}};

std::vector<ProgramOption> Options() {
    std::vector<ProgramOption> options = {{"drive", true}, {"select", true}};
    for (const auto& option : kSwitches) {
        options.push_back({option.name});
    }
    return options;
}

ParsedCommandLine Refused(std::string refusal) {
    return {std::nullopt, std::move(refusal)};
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    const Result<ProgramArguments> parsed = ParseProgramArguments(Options(), arguments);
    if (!parsed) {
        return Refused(parsed.why().text);
    }
    CommandLine line;
    switch (parsed->request) {
        case ProgramArguments::Request::kHelp:
            return {line, {}};
        case ProgramArguments::Request::kVersion:
            line.verb = Verb::kVersion;
            return {line, {}};
        case ProgramArguments::Request::kRun:
            break;
    }
    for (const auto& [name, value] : parsed->options) {
        if (name == "drive") {
            line.driveOptions.push_back(value);
        } else if (name == "select") {
            const int index = DriveIndexOf(value);
            if (index < 0 || index >= kSelectableDrives) {
                return Refused(Fill(kBadSelect, value));
            }
            line.selectedDrive = index;
        } else {
            for (const auto& option : kSwitches) {
                line.*option.field = line.*option.field || option.name == name;
            }
        }
    }
    const std::vector<std::string>& words = parsed->operands;
    if (words.empty()) {
        return Refused(std::string(kMissingVerb));
    }
    if (words[0] == "split") {
        line.verb = Verb::kSplit;
    } else if (words[0] == "join") {
        line.verb = Verb::kJoin;
    } else if (words[0] == "check") {
        line.verb = Verb::kCheck;
    } else if (words[0] == "drives") {
        line.verb = Verb::kDrives;
    } else {
        return Refused(Fill(kUnknownVerb, words[0]));
    }
    const std::size_t wordCount = line.verb == Verb::kDrives || line.verb == Verb::kCheck ? 1 : 2;
    if (words.size() < wordCount) {
        return Refused(Fill(kMissingFile, words[0]));
    }
    if (words.size() > wordCount) {
        return Refused(Fill(kTooManyArguments, words[wordCount]));
    }
    if (line.overwrite && line.verb != Verb::kJoin) {
        return Refused(std::string(kOverwriteOnlyJoin));
    }
    if (line.verb != Verb::kDrives && line.verb != Verb::kCheck) {
        line.path = words[1];
    }
    return {line, {}};
}

}  // namespace torvanik::cli
