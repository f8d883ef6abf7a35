#include "platform/program_options.h"

#include <getopt.h>

#include <algorithm>

#include "res/texts/option_texts.h"

namespace torvanik {
namespace {

// getopt_long's codes for the table's options; below them, 'h' and 'V'.
constexpr int kFirstTableCode = 256;

struct CommonOption {
    const char* name;
    int code;
};
constexpr CommonOption kCommonOptions[] = {{"help", 'h'}, {"version", 'V'}};

std::string LongName(std::span<const ProgramOption> options, int code) {
    for (const auto& common : kCommonOptions) {
        if (common.code == code) {
            return "--" + std::string(common.name);
        }
    }
    return "--" + std::string(options[static_cast<std::size_t>(code - kFirstTableCode)].name);
}

bool IsOurCode(std::span<const ProgramOption> options, int code) {
    return code == 'h' || code == 'V' ||
           (code >= kFirstTableCode && code < kFirstTableCode + static_cast<int>(options.size()));
}

// "--no-" or "--nope=1", which getopt_long refused without naming an option of ours.
std::string UnknownLongOption(std::span<const ProgramOption> options, std::string_view argument) {
    const std::string_view name = argument.substr(2, argument.find('=') - 2);
    std::vector<std::string_view> names;
    for (const auto& option : options) {
        names.push_back(option.name);
    }
    for (const auto& common : kCommonOptions) {
        names.push_back(common.name);
    }
    const auto matches = std::ranges::count_if(
        names, [&](std::string_view candidate) { return candidate.starts_with(name); });
    const auto text = matches > 1 ? option_text::kAmbiguous : option_text::kUnknown;
    return std::string(text) + "--" + std::string(name);
}

int ArgumentOf(const ProgramOption& option) {
    if (option.valueOptional) {
        return optional_argument;
    }
    return option.takesValue ? required_argument : no_argument;
}

}  // namespace

Result<ProgramArguments> ParseProgramArguments(std::span<const ProgramOption> options,
                                               const std::vector<std::string>& arguments) {
    std::vector<std::string> names;
    for (const auto& option : options) {
        names.emplace_back(option.name);
    }
    std::vector<option> table;
    for (const auto& common : kCommonOptions) {
        table.push_back({common.name, no_argument, nullptr, common.code});
    }
    for (std::size_t i = 0; i < options.size(); ++i) {
        table.push_back({names[i].c_str(), ArgumentOf(options[i]), nullptr,
                         kFirstTableCode + static_cast<int>(i)});
    }
    table.push_back({});

    std::vector<std::string> texts{"torvanik"};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(texts.size());

    // The messages are ours; optind 0 starts getopt afresh, as a program may parse twice.
    opterr = 0;
    optind = 0;
    ProgramArguments parsed;
    for (int code; (code = getopt_long(argc, argv.data(), ":hV", table.data(), nullptr)) != -1;) {
        switch (code) {
            case 'h':
                parsed.request = ProgramArguments::Request::kHelp;
                return parsed;
            case 'V':
                parsed.request = ProgramArguments::Request::kVersion;
                return parsed;
            case ':':
                return Refused(LongName(options, optopt) + std::string(option_text::kMissingValue));
            case '?':
                if (IsOurCode(options, optopt)) {
                    return Refused(LongName(options, optopt) +
                                   std::string(option_text::kTakesNoValue));
                }
                if (optopt != 0) {
                    return Refused(std::string(option_text::kUnknown) + '-' +
                                   static_cast<char>(optopt));
                }
                return Refused(UnknownLongOption(options, argv[optind - 1]));
            default:
                parsed.options.push_back(
                    {options[static_cast<std::size_t>(code - kFirstTableCode)].name,
                     optarg != nullptr ? optarg : ""});
        }
    }
    parsed.operands.assign(argv.begin() + optind, argv.end() - 1);
    return parsed;
}

}  // namespace torvanik
