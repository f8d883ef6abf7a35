#include <QApplication>
#include <cstdio>

#include "platform/settings_location.h"
#include "shell/command_line.h"
#include "shell/torvanik_app.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        arguments.push_back(argument.toStdString());
    }
    const torvanik::CommandLine line = torvanik::ParseCommandLine(arguments);
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
    torvanik::DriveMap drives;
    std::string error;
    if (!torvanik::BuildDriveMap(line.driveOptions, torvanik::DrivesFilePath(), drives, error)) {
        std::fprintf(stderr, "torvanik: %s\n", error.c_str());
        return 2;
    }
    torvanik::CTorvanikApp app;
    if (!app.InitInstance(drives)) {
        return 1;
    }
    return QApplication::exec();
}
