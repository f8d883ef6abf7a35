#include <QApplication>
#include <cstdio>

#include "platform/drive_map_parsing.h"
#include "platform/settings_location.h"
#include "platform/user_locale.h"
#include "res/texts/window_texts.h"
#include "shell/command_line.h"
#include "shell/display_check.h"
#include "shell/torvanik_app.h"

namespace {

// Prints what the command line asks for, or the mistake in it; -1 when the program runs.
int Answer(const torvanik::Result<torvanik::WindowRequest>& request) {
    if (!request) {
        std::fprintf(stderr, "torvanik: %s\n\n%s", request.why().text.c_str(),
                     torvanik::UsageText());
        return 2;
    }
    switch (request->action) {
        case torvanik::WindowRequest::Action::kHelp:
            std::fputs(torvanik::UsageText(), stdout);
            return 0;
        case torvanik::WindowRequest::Action::kVersion:
            std::fputs(torvanik::VersionText(), stdout);
            return 0;
        case torvanik::WindowRequest::Action::kRun:
            break;
    }
    return -1;
}

}  // namespace

// The command line and the drive map are checked before the toolkit starts, which needs a
// display.
int main(int argc, char** argv) {
    torvanik::FollowUserLanguage();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto request = torvanik::ParseWindowRequest(arguments, true);
    if (const int status = Answer(request); status >= 0) {
        return status;
    }
    torvanik::Result<torvanik::DriveMap> built =
        torvanik::BuildDriveMap(request->drives.mappings, torvanik::DrivesFilePath());
    if (!built) {
        std::fprintf(stderr, "torvanik: %s\n\n%s", built.why().text.c_str(), torvanik::UsageText());
        return 2;
    }
    torvanik::DriveMap& drives = *built;
    request->drives.OverrideSettings(drives.settings());
    if (!torvanik::FindDisplay(arguments)) {
        std::fputs(torvanik::kNoDisplay, stderr);
        return 1;
    }
    QApplication application(argc, argv);
    // The toolkit has set the whole locale from the environment again.
    torvanik::FollowUserLanguage();
    // What the toolkit did not take must be ours.
    std::vector<std::string> left;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        left.push_back(argument.toStdString());
    }
    if (const int status = Answer(torvanik::ParseWindowRequest(left)); status >= 0) {
        return status;
    }
    torvanik::TorvanikApp app;
    if (!app.Start(drives)) {
        return 1;
    }
    return QApplication::exec();
}
