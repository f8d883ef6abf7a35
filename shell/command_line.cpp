#include "shell/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

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

// The toolkit reads "-name" and "--name" alike; "--" alone marks our own options.
bool IsToolkitOption(std::string_view argument) {
    if (argument.starts_with("--")) {
        return TakesValue(argument.substr(2));
    }
    return argument.size() > 1 && argument.starts_with('-') && argument != "-h";
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool toolkitOptions) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (toolkitOptions && IsToolkitOption(argument)) {
            const std::size_t dashes = argument.starts_with("--") ? 2 : 1;
            i += TakesValue(std::string_view(argument).substr(dashes)) ? 1 : 0;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            line.action = CommandLine::Action::kHelp;
            return line;
        }
        if (argument == "--version") {
            line.action = CommandLine::Action::kVersion;
            return line;
        }
        if (argument == "--drive" && i + 1 < arguments.size()) {
            line.driveOptions.push_back(arguments[++i]);
        } else if (argument.starts_with("--drive=")) {
            line.driveOptions.push_back(argument.substr(8));
        } else {
            line.action = CommandLine::Action::kError;
            line.error =
                argument == "--drive" ? "--drive mangler X:=MAPPE" : "ukjent argument: " + argument;
            return line;
        }
    }
    return line;
}

const char* UsageText() {
    return "Bruk: torvanik [--drive X:=MAPPE[,capacity=N]]...\n"
           "\n"
           "Deler en stor fil p\xC3\xA5 flere disketter og setter den sammen igjen.\n"
           "\n"
           "  --drive X:=MAPPE[,capacity=N]  stasjon X: er mappen MAPPE; med capacity=N\n"
           "                                 har den h\xC3\xB8yst N byte ledig (kan gjentas)\n"
           "  --help                         viser denne teksten\n"
           "  --version                      viser versjonen\n"
           "\n"
           "Uten --drive gjelder filen ~/.config/torvanik/drives (linjer som\n"
           "\"A: /media/floppy0\"), ellers A: = /media/floppy0 og B: = /media/floppy1.\n";
}

const char* VersionText() {
    return "Torvanik Versjon 1.03\n";
}

}  // namespace torvanik
