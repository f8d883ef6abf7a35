#include "shell/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/program_options.h"
#include "res/texts/window_texts.h"

namespace torvanik {
namespace {

constexpr ProgramOption kOptions[] = {{"drive", true}, {"no-eject"}, {"no-verify"}, {"no-sums"}};

// The toolkit's options that take the next argument as their value.
constexpr std::array<std::string_view, 14> kToolkitOptionsWithValue = {
    "platform",        "platformpluginpath",
    "platformtheme",   "plugin",
    "qwindowgeometry", "qwindowicon",
    "qwindowtitle",    "display",
    "geometry",        "name",
    "title",           "session",
    "style",           "stylesheet"};

bool TakesValue(std::string_view name) {
    return std::ranges::find(kToolkitOptionsWithValue, name) != kToolkitOptionsWithValue.end();
}

// The toolkit reads "-name" and "--name" alike; of the one-dash options, only -h and -V
// are ours.
bool IsToolkitOption(std::string_view argument) {
    if (argument.starts_with("--")) {
        return TakesValue(argument.substr(2));
    }
    return argument.size() > 1 && argument.starts_with('-') && argument != "-h" && argument != "-V";
}

std::vector<std::string> WithoutToolkitOptions(const std::vector<std::string>& arguments) {
    std::vector<std::string> ours;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            ours.insert(ours.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i),
                        arguments.end());
            break;
        }
        if (!IsToolkitOption(argument)) {
            ours.push_back(argument);
            continue;
        }
        const std::size_t dashes = argument.starts_with("--") ? 2 : 1;
        i += TakesValue(std::string_view(argument).substr(dashes)) ? 1 : 0;
    }
    return ours;
}

CommandLine Refused(std::string error) {
    CommandLine line;
    line.action = CommandLine::Action::kError;
    line.error = std::move(error);
    return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool toolkitOptions) {
    const ProgramArguments parsed = ParseProgramArguments(
        kOptions, toolkitOptions ? WithoutToolkitOptions(arguments) : arguments);
    CommandLine line;
    switch (parsed.request) {
        case ProgramArguments::Request::kError:
            return Refused(parsed.error);
        case ProgramArguments::Request::kHelp:
            line.action = CommandLine::Action::kHelp;
            return line;
        case ProgramArguments::Request::kVersion:
            line.action = CommandLine::Action::kVersion;
            return line;
        case ProgramArguments::Request::kRun:
            break;
    }
    if (!parsed.operands.empty()) {
        return Refused(kUnknownArgument + parsed.operands.front());
    }
    for (const auto& [name, value] : parsed.options) {
        if (name == "drive") {
            line.driveOptions.push_back(value);
        } else if (name == "no-eject") {
            line.noEject = true;
        } else if (name == "no-sums") {
            line.noSums = true;
        } else {
            line.noVerify = true;
        }
    }
    return line;
}

const char* UsageText() {
    return kWindowUsage;
}

const char* VersionText() {
    return "Torvanik Versjon " TORVANIK_VERSION "\n";
}

}  // namespace torvanik
