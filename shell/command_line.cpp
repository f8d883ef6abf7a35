#include "shell/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/program_options.h"

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
    const Result<ProgramArguments> parsed = ParseProgramArguments(
        kOptions, toolkitOptions ? WithoutToolkitOptions(arguments) : arguments);
    if (!parsed) {
        return Refused(parsed.why().text);
    }
    CommandLine line;
    switch (parsed->request) {
        case ProgramArguments::Request::kHelp:
            line.action = CommandLine::Action::kHelp;
            return line;
        case ProgramArguments::Request::kVersion:
            line.action = CommandLine::Action::kVersion;
            return line;
        case ProgramArguments::Request::kRun:
            break;
    }
    if (!parsed->operands.empty()) {
        return Refused("ukjent argument: " + parsed->operands.front());
    }
    for (const auto& [name, value] : parsed->options) {
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
    return "Bruk: torvanik [--drive X:=M\xC3\x85L[,capacity=N]]... [--no-eject]\n"
           "                [--no-verify] [--no-sums]\n"
           "\n"
           "Deler en stor fil p\xC3\xA5 flere disketter og setter den sammen igjen.\n"
           "\n"
           "  --drive X:=M\xC3\x85L[,capacity=N]  stasjon X: er M\xC3\x85L (kan gjentas); med\n"
           "                               capacity=N har den h\xC3\xB8yst N byte ledig\n"
           "  --no-eject                   l\xC3\xB8s ikke ut disken etter hvert trinn\n"
           "  --no-verify                  les ikke hver diskett tilbake og sammenlign\n"
           "                               etter kopieringen\n"
           "  --no-sums                    skriv ingen kontrollfil p\xC3\xA5 diskettene, og\n"
           "                               kontroller ikke delene mot den\n"
           "  -h, --help                   viser denne teksten\n"
           "  -V, --version                viser versjonen\n"
           "\n"
           "Et valg med verdi kan skrives --valg=VERDI eller --valg VERDI.\n"
           "\n"
           "M\xC3\x85L er ett av:\n"
           "  media          disken som er satt inn: den ene som skrivebordet har montert\n"
           "                 i /run/media/BRUKER eller /media/BRUKER\n"
           "  media:MAPPE    den ene disken som er montert i MAPPE\n"
           "  device:ENHET   blokkenheten ENHET (f.eks. /dev/disk/by-id/usb-...), der\n"
           "                 den er montert\n"
           "  images:MAPPE   en stabel diskettbilder i MAPPE: disk 1 er DSKA0000.IMG,\n"
           "                 disk 2 DSKA0001.IMG osv.; nye bilder lages med\n"
           "                 ,format=F: 360k, 720k, 1.2m, 1.44m (standard) eller 2.88m\n"
           "  MAPPE          en vanlig mappe (til pr\xC3\xB8ving og skript)\n"
           "\n"
           "Etter hvert trinn l\xC3\xB8ses disken ut gjennom UDisks2 (avmonteres og, der\n"
           "det g\xC3\xA5r, sl\xC3\xA5s av) for media og device:, aldri for en mappe eller\n"
           "et diskettbilde.\n"
           "\n"
           "Uten --drive gjelder filen ~/.config/torvanik/drives (linjer som \"A: media\"\n"
           "og \"eject no\"), ellers A: = media og B: = den andre flyttbare disken.\n";
}

const char* VersionText() {
    return "Torvanik Versjon " TORVANIK_VERSION "\n";
}

}  // namespace torvanik
