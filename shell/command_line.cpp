#include "shell/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/program_options.h"
#include "res/texts/window_texts.h"

namespace torvanik {
namespace {

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

}  // namespace

Result<WindowRequest> ParseWindowRequest(const std::vector<std::string>& arguments,
                                         bool toolkitOptions) {
    const Result<ProgramArguments> parsed = ParseProgramArguments(
        kDriveOptionTable, toolkitOptions ? WithoutToolkitOptions(arguments) : arguments);
    if (!parsed) {
        return Refused(parsed.why().text);
    }
    WindowRequest request;
    switch (parsed->request) {
        case ProgramArguments::Request::kHelp:
            request.action = WindowRequest::Action::kHelp;
            return request;
        case ProgramArguments::Request::kVersion:
            request.action = WindowRequest::Action::kVersion;
            return request;
        case ProgramArguments::Request::kRun:
            break;
    }
    if (!parsed->operands.empty()) {
        return Refused(kUnknownArgument + parsed->operands.front());
    }
    for (const GivenOption& given : parsed->options) {
        request.drives.Take(given);
    }
    return request;
}

const char* UsageText() {
    return kWindowUsage;
}

const char* VersionText() {
    return "Torvanik Versjon " TORVANIK_VERSION "\n";
}

}  // namespace torvanik
