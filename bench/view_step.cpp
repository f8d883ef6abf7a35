// One KLAR of a split through the real view, shown or hidden; prints the step's seconds.
//   torvanik_view_step SOURCE DRIVE_FOLDER shown|hidden
// The drive has no capacity, so the whole file is one chunk. Offscreen unless a display
// is set (run it under xvfb-run for an X server).
#include <QApplication>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <string>

#include "engine/scripted_questions.h"
#include "shell/transfer_view.h"

int main(int argc, char** argv) {
    using namespace torvanik;
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s SOURCE DRIVE_FOLDER shown|hidden\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    DriveMap drives;
    drives.Set(0, {argv[2], std::nullopt});
    ScriptedQuestions questions;
    FileSystem files;
    Transfer transfer;
    DriveChoice drive;
    TransferView view(nullptr, transfer, drive, questions, files, drives);
    view.resize(500, 312);
    if (std::string(argv[3]) == "shown") {
        view.show();
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!view.windowHandle()->isExposed() && std::chrono::steady_clock::now() < giveUp) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        QApplication::processEvents();
    }
    questions.sourceAnswers.push_back(PickedFileFromPath(argv[1]));
    view.OnSplitOut();
    const auto start = std::chrono::steady_clock::now();
    view.OnDiskReady();
    const std::chrono::duration<double> step = std::chrono::steady_clock::now() - start;
    std::printf("%.6f\n", step.count());
    return view.screen().lastNotice == NoticeOf(NoticeId::kSplitDoneOne, kNoNumber) ? 0 : 1;
}
