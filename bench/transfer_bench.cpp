// Split and join of one large file between two folders of the local disk, on a drive
// with no capacity limit (so one chunk), through the real commands and file system.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "engine/commands.h"
#include "engine/scripted_questions.h"
#include "screen/presenter.h"

namespace torvanik {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileBytes = 256u << 20;

fs::path BenchFolder() {
    const char* chosen = std::getenv("TORVANIK_BENCH_DIR");
    return chosen != nullptr ? fs::path(chosen) : fs::temp_directory_path() / "torvanik-bench";
}

long PeakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Bench {
    fs::path root = BenchFolder();
    fs::path source = root / "stor.bin";
    fs::path drive = root / "drive";
    fs::path joined = root / "ut" / "stor.bin";
    DriveMap drives;
    Surface surface{500, 312};
    Presenter presenter{CanvasSource(surface, {})};
    ScriptedQuestions questions;
    FileSystem files;
    DriveChoice chosen;
    EngineSeams seams{questions, files, drives, chosen, &presenter};

    Bench() {
        fs::create_directories(drive);
        fs::create_directories(joined.parent_path());
        drives.Set(0, {drive.string(), std::nullopt});
        if (!fs::exists(source) || fs::file_size(source) != kFileBytes) {
            std::vector<char> block(1 << 20);
            std::ofstream out(source, std::ios::binary);
            for (std::size_t i = 0; i < kFileBytes / block.size(); ++i) {
                block[0] = static_cast<char>(i);
                out.write(block.data(), static_cast<std::streamsize>(block.size()));
            }
        }
    }

    // Onto an empty disk, as a user would; the time spent emptying it is not measured.
    void EmptyDrive(benchmark::State& state) {
        state.PauseTiming();
        fs::remove_all(drive);
        fs::create_directories(drive);
        state.ResumeTiming();
    }

    // Each command paints on a canvas of its own, as in the window.
    void Run(StepOutcome (*command)(Transfer&, const EngineSeams&), Transfer& transfer) {
        const Presenter::Command drawing(presenter);
        command(transfer, seams);
    }

    void Split() {
        Transfer transfer;
        questions.sourceAnswers.push_back(PickedFileFromPath(source.string()));
        Run(OnSplitOut, transfer);
        Run(OnDiskReady, transfer);
    }

    void Join() {
        Transfer transfer;
        questions.destinationAnswers.push_back(PickedFileFromPath(joined.string()));
        Run(OnJoinIn, transfer);
        Run(OnDiskReady, transfer);
    }
};

Bench& TheBench() {
    static Bench bench;
    return bench;
}

void Report(benchmark::State& state, long rssBefore) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileBytes));
    state.counters["rss_growth_KiB"] = static_cast<double>(PeakRssKiB() - rssBefore);
}

void BM_SplitOneChunk(benchmark::State& state) {
    Bench& bench = TheBench();
    const long rssBefore = PeakRssKiB();
    for (auto _ : state) {
        bench.EmptyDrive(state);
        bench.Split();
    }
    Report(state, rssBefore);
}

void BM_JoinOneChunk(benchmark::State& state) {
    Bench& bench = TheBench();
    bench.Split();
    const long rssBefore = PeakRssKiB();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(bench.joined);
        state.ResumeTiming();
        bench.Join();
    }
    Report(state, rssBefore);
}

BENCHMARK(BM_SplitOneChunk)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_JoinOneChunk)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace torvanik

BENCHMARK_MAIN();
