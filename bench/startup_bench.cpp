// Start-up of the window program to its first paint, and its peak memory while a split
// runs. Run it on its own: torvanik_startup_bench (offscreen unless a display is set).
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "engine/commands.h"
#include "engine/scripted_questions.h"
#include "screen/presenter.h"
#include "shell/torvanik_app.h"

namespace {

namespace fs = std::filesystem;

// Milliseconds since this process started, from the kernel's record of its start.
double MillisecondsSinceProcessStart() {
    std::ifstream statFile("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) {
        fields >> field;
    }
    const double startSeconds = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9 -
            startSeconds) *
           1000.0;
}

long PeakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace torvanik;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const auto started = std::chrono::steady_clock::now();
    QApplication application(argc, argv);
    const fs::path root = fs::temp_directory_path() / "torvanik-startup-bench";
    fs::create_directories(root / "drive");
    DriveMap drives;
    drives.Set(0, {(root / "drive").string(), std::nullopt});

    TorvanikApp app;
    if (!app.Start(drives)) {
        return 1;
    }
    const double sinceMain =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    std::printf("first paint: %.0f ms after process start (%.0f ms after main)\n",
                MillisecondsSinceProcessStart(), sinceMain);
    const long idleKiB = PeakRssKiB();

    const fs::path source = root / "stor.bin";
    {
        std::vector<char> block(1 << 20, '\x5A');
        std::ofstream out(source, std::ios::binary);
        for (int i = 0; i < 64; ++i) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
    }
    Surface surface(500, 312);
    Presenter presenter{CanvasSource(surface, {})};
    ScriptedQuestions questions;
    FileSystem files;
    DriveChoice drive;
    const EngineSeams seams{questions, files, drives, drive, &presenter};
    Transfer transfer;
    questions.sourceAnswers.push_back(PickedFileFromPath(source.string()));
    {
        const Presenter::Command drawing(presenter);
        OnSplitOut(transfer, seams);
    }
    StepOutcome step;
    {
        const Presenter::Command drawing(presenter);
        step = OnDiskReady(transfer, seams);
    }
    std::printf("peak memory: %.1f MiB with the window up, %.1f MiB after a 64 MiB split\n",
                static_cast<double>(idleKiB) / 1024.0, static_cast<double>(PeakRssKiB()) / 1024.0);
    fs::remove_all(root);
    return step.result == StepResult::kFinished ? 0 : 1;
}
