// A split of a 256 MiB file in one chunk through the real window, hidden and shown: what
// painting the bars while the chunk is copied costs. Run it under an X server, for
// instance: TMPDIR=/dev/shm xvfb-run -a build-release/bench/torvanik_window_bench
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <vector>

#include "res/command_ids.h"
#include "shell/main_frame.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileBytes = 256u << 20;

// Confirms the next file picker with `path` typed into it.
void AnswerPicker(const QString& path) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, path] {
        if (auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            picker->selectFile(path);
            QMetaObject::invokeMethod(picker, "accept");
        }
    });
    poll->start(10);
}

struct Seconds {
    double wall = 0;
    double cpu = 0;  // of this process, all threads
};

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

Seconds TimeSplit(const torvanik::DriveMap& drives, const fs::path& source, bool shown) {
    torvanik::CMainFrame frame(drives, "Torvanik");
    frame.Create();
    if (shown) {
        frame.show();
        frame.ApplyOuterSize();
    }
    QApplication::processEvents();
    AnswerPicker(QString::fromStdString(source.string()));
    frame.action(torvanik::ID_SPLIT_OUT)->trigger();
    const auto started = std::chrono::steady_clock::now();
    const double cpuStarted = CpuSeconds();
    frame.action(torvanik::ID_DISK_READY)->trigger();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
            CpuSeconds() - cpuStarted};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const fs::path root = fs::temp_directory_path() / "torvanik-window-bench";
    const fs::path source = root / "stor.bin";
    fs::create_directories(root / "drive");
    if (!fs::exists(source) || fs::file_size(source) != kFileBytes) {
        std::ofstream out(source, std::ios::binary);
        const std::vector<char> block(1 << 20, 'x');
        for (std::size_t i = 0; i < kFileBytes / block.size(); ++i) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
    }
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    torvanik::DriveMap drives;
    drives.Set(0, {(root / "drive").string(), std::nullopt});
    constexpr int kRuns = 5;
    std::vector<double> wall[2];
    std::vector<double> cpu[2];
    for (int run = 0; run < 2 * kRuns; ++run) {
        const bool shown = run % 2 == 1;
        fs::remove_all(root / "drive");
        fs::create_directories(root / "drive");
        const Seconds took = TimeSplit(drives, source, shown);
        wall[shown].push_back(took.wall);
        cpu[shown].push_back(took.cpu);
    }
    for (const bool shown : {false, true}) {
        std::printf("%s: median %.3f s wall, %.3f s CPU (of %d runs)\n",
                    shown ? "shown " : "hidden", Median(wall[shown]), Median(cpu[shown]), kRuns);
    }
    fs::remove_all(root);
    return 0;
}
