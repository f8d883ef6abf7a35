#include "cli/command_line.h"

#include <algorithm>
#include <charconv>

#include "cli/fill.h"
#include "engine/drive_choice.h"
#include "platform/drive_map.h"
#include "res/texts/option_texts.h"
#include "res/texts/terminal_texts.h"

namespace torvanik::cli {
namespace {

struct Switch {
    std::string_view name;
    bool CliRequest::*field;
};

constexpr Switch kSwitches[] = {{"overwrite", &CliRequest::overwrite},
                                {"batch", &CliRequest::batch},
                                {"auto", &CliRequest::automatic},
                                {"resume", &CliRequest::resume}};

// A disk number as the user writes it: digits only, 1 to kHighestDisk.
std::optional<int> DiskNumberOf(std::string_view text) {
    constexpr int kHighestDisk = 9999;
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || text[0] == '+' || error != std::errc() ||
        end != text.data() + text.size() || number < 1 || number > kHighestDisk) {
        return std::nullopt;
    }
    return number;
}

// "2" or "2,5": each disk once.
Result<std::vector<int>> DiskList(std::string_view text) {
    std::vector<int> disks;
    for (;;) {
        const auto comma = text.find(',');
        const auto number = DiskNumberOf(text.substr(0, comma));
        if (!number || std::find(disks.begin(), disks.end(), *number) != disks.end()) {
            return Refused(std::string());
        }
        disks.push_back(*number);
        if (comma == std::string_view::npos) {
            return disks;
        }
        text.remove_prefix(comma + 1);
    }
}

// "--parity" alone is one parity disk; "--parity=N" is N of them, 1 to kMaxParityDisks.
Result<int> ParityDisksOf(const std::string& value) {
    if (value.empty()) {
        return 1;
    }
    if (value.size() == 1 && value[0] >= '1' && value[0] <= '0' + kMaxParityDisks) {
        return value[0] - '0';
    }
    return Refused(std::string(option_text::kBadParity) + value);
}

std::vector<ProgramOption> Options() {
    std::vector<ProgramOption> options(std::begin(kDriveOptionTable), std::end(kDriveOptionTable));
    options.push_back({"select", true});
    options.push_back({"missing", true});
    options.push_back({"parity", false, true});
    for (const auto& option : kSwitches) {
        options.push_back({option.name});
    }
    return options;
}

// --drive, --select and the switches, in the order given.
Result<void> TakeOptions(const std::vector<GivenOption>& options, CliRequest& request) {
    for (const GivenOption& given : options) {
        if (request.drives.Take(given)) {
            continue;
        }
        if (given.name == "select") {
            const int index = DriveIndexOf(given.value);
            if (index < 0 || index >= kSelectableDrives) {
                return Refused(Fill(kBadSelect, given.value));
            }
            request.selectedDrive = index;
        }
        if (given.name == "missing") {
            auto disks = DiskList(given.value);
            if (!disks) {
                return Refused(Fill(kBadMissing, given.value));
            }
            request.missing = std::move(*disks);
        }
        if (given.name == "parity") {
            const Result<int> disks = ParityDisksOf(given.value);
            if (!disks) {
                return disks.why();
            }
            request.parityDisks = *disks;
        }
        for (const auto& option : kSwitches) {
            request.*option.field = request.*option.field || option.name == given.name;
        }
    }
    return {};
}

// The verb and its file, after the options: the verb decides whether --overwrite is one.
Result<void> TakeWords(const std::vector<std::string>& words, CliRequest& request) {
    if (words.empty()) {
        return Refused(std::string(kMissingVerb));
    }
    if (words[0] == "split") {
        request.verb = Verb::kSplit;
    } else if (words[0] == "join") {
        request.verb = Verb::kJoin;
    } else if (words[0] == "check") {
        request.verb = Verb::kCheck;
    } else if (words[0] == "rebuild") {
        request.verb = Verb::kRebuild;
    } else if (words[0] == "drives") {
        request.verb = Verb::kDrives;
    } else {
        return Refused(Fill(kUnknownVerb, words[0]));
    }
    const std::size_t wordCount =
        request.verb == Verb::kDrives || request.verb == Verb::kCheck ? 1 : 2;
    if (words.size() < wordCount) {
        return Refused(
            Fill(request.verb == Verb::kRebuild ? kMissingDisk : kMissingFile, words[0]));
    }
    if (words.size() > wordCount) {
        return Refused(Fill(kTooManyArguments, words[wordCount]));
    }
    if (request.overwrite && request.verb != Verb::kJoin) {
        return Refused(std::string(kOverwriteOnlyJoin));
    }
    if (request.parityDisks > 0 && request.verb != Verb::kSplit) {
        return Refused(std::string(kParityOnlySplit));
    }
    if (request.parityDisks > 0 && request.drives.noCheckFiles) {
        return Refused(std::string(option_text::kParityWithoutSums));
    }
    if (!request.missing.empty() && request.verb != Verb::kJoin) {
        return Refused(std::string(kMissingOnlyJoin));
    }
    if (request.verb == Verb::kRebuild) {
        const auto disk = DiskNumberOf(words[1]);
        if (!disk) {
            return Refused(Fill(kBadRebuildDisk, words[1]));
        }
        request.rebuildDisk = *disk;
    } else if (wordCount == 2) {
        request.path = words[1];
    }
    return {};
}

}  // namespace

Result<CliRequest> ParseCliRequest(const std::vector<std::string>& arguments) {
    const Result<ProgramArguments> parsed = ParseProgramArguments(Options(), arguments);
    if (!parsed) {
        return Refused(parsed.why().text);
    }
    CliRequest request;
    switch (parsed->request) {
        case ProgramArguments::Request::kHelp:
            return request;
        case ProgramArguments::Request::kVersion:
            request.verb = Verb::kVersion;
            return request;
        case ProgramArguments::Request::kRun:
            break;
    }
    if (const Result<void> taken = TakeOptions(parsed->options, request); !taken) {
        return taken.why();
    }
    if (const Result<void> taken = TakeWords(parsed->operands, request); !taken) {
        return taken.why();
    }
    return request;
}

}  // namespace torvanik::cli
