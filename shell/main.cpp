#include <QApplication>
#include <cstdio>

#include "platform/settings_location.h"
#include "shell/command_line.h"
#include "shell/torvanik_app.h"

namespace {

// --help and --version need no display, so they are answered before the toolkit starts.
int Answer(const torvanik::CommandLine& line) {
    switch (line.action) {
        case torvanik::CommandLine::Action::kHelp:
            std::fputs(torvanik::UsageText(), stdout);
            return 0;
        case torvanik::CommandLine::Action::kVersion:
            std::fputs(torvanik::VersionText(), stdout);
            return 0;
        case torvanik::CommandLine::Action::kError:
            std::fprintf(stderr, "torvanik: %s\n\n%s", line.error.c_str(), torvanik::UsageText());
            return 2;
        case torvanik::CommandLine::Action::kRun:
            break;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h" || argument == "--version") {
            return Answer(torvanik::ParseCommandLine({argument}));
        }
    }
    QApplication application(argc, argv);
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        arguments.push_back(argument.toStdString());
    }
    const torvanik::CommandLine line = torvanik::ParseCommandLine(arguments);
    if (const int status = Answer(line); status >= 0) {
        return status;
    }
    torvanik::DriveMap drives;
    std::string error;
    if (!torvanik::BuildDriveMap(line.driveOptions, torvanik::DrivesFilePath(), drives, error)) {
        std::fprintf(stderr, "torvanik: %s\n", error.c_str());
        return 2;
    }
    if (line.noEject) {
        drives.settings().eject = false;
    }
    torvanik::CTorvanikApp app;
    if (!app.InitInstance(drives)) {
        return 1;
    }
    return QApplication::exec();
}
