// torvanik-snapshot OUTDIR: drives the engine's commands with scripted answers and writes
// the screen of each scene as a 500 x 312 PNG, and the whole main window as window.png,
// for looking at the painted picture.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include <QApplication>
#include <QPixmap>

#include "engine/commands.h"
#include "shell/main_window.h"
#include "shell/transfer_view.h"
#include "tools/snapshot/scratch_space.h"
#include "tools/snapshot/snapshot_session.h"

namespace torvanik::snapshot {
namespace {

constexpr std::uint64_t kDiskFree = 1000000;
// INFO.FIL takes one cluster of disk 1 before its free space is measured.
constexpr std::uint64_t kFirstDiskCapacity = kDiskFree + 512;
constexpr std::size_t kSourceSize = 2500000;

bool WriteSourceFile(const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::vector<char> bytes(kSourceSize, '\x5A');
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

void PickSource(SnapshotSession& session) {
    session.questions().sourceAnswers.push_back(
        PickedFileFromPath(ScratchSpace::Shown("bilde.bmp")));
}

void ArmSplit(SnapshotSession& session) {
    PickSource(session);
    session.InsertEmptyDisk(kFirstDiskCapacity);
    session.Run(OnSplitOut);
}

// Chunk 1 written for real; then the screen's record as the copy leaves it halfway through
// the chunk of disk 2, and a repaint of it.
void CopyDiskTwo(SnapshotSession& session) {
    ArmSplit(session);
    session.Run(OnDiskReady);
    session.TakeOutDisk(1);
    session.InsertEmptyDisk(kDiskFree);
    ScreenRecord& s = session.presenter().record();
    s.facts.armed = TransferKind::kSplit;
    s.facts.freeKB = static_cast<std::int64_t>(kDiskFree / 1024);
    s.panelShown = true;
    s.barsShown = true;
    s.noticeShown = true;
    s.panelDiskNumber = 2;
    s.panelShowsFree = true;
    s.lastNotice = NoticeOf(NoticeId::kCopyingTo, 2);
    s.noticeToggle = NoticeToggle::kShown;
    s.barLength = {220, 264};
    s.lastDiskBar = 220;
    s.lastTotalBar = 264;
    session.Repaint();
}

// The whole split, onto three disks; the disks are kept for the join.
void FinishSplit(SnapshotSession& session) {
    ArmSplit(session);
    for (int disk = 1; disk <= 3; ++disk) {
        if (disk > 1) {
            session.TakeOutDisk(disk - 1);
            session.InsertEmptyDisk(kDiskFree);
        }
        session.Run(OnDiskReady);
    }
    session.TakeOutDisk(3);
}

void ArmJoin(SnapshotSession& session) {
    session.InsertEmptyDisk(kDiskFree);
    session.PutInDisk(1);
    session.questions().destinationAnswers.push_back(
        PickedFileFromPath(ScratchSpace::Shown("ut/bilde.bmp")));
    session.Run(OnJoinIn);
}

void ChooseDriveC(SnapshotSession& session) {
    session.questions().driveAnswers.push_back(2);
    session.Run(OnSelectDrive);
}

struct Scene {
    const char* file;
    std::function<void(SnapshotSession&)> play;
};

// In this order: the join takes disk 1 of the split finished before it.
const std::vector<Scene> kScenes = {
    {"idle.png", [](SnapshotSession&) {}},
    {"split-armed.png", ArmSplit},
    {"copying.png", CopyDiskTwo},
    {"help.png",
     [](SnapshotSession& s) {
         s.Run([&s](Transfer&, const EngineSeams&) { s.presenter().ShowHelp(); });
     }},
    {"finished.png", FinishSplit},
    {"join.png", ArmJoin},
    {"drive-c.png", ChooseDriveC},
};

// The whole main window (menu, toolbar, view, status bar) in the copying scene, as a
// paint request of the window system shows it.
bool SaveWindowPicture(SnapshotSession& session, const std::string& path) {
    MainWindow frame(session.drives(), "Torvanik");
    if (!frame.Create()) {
        return false;
    }
    frame.show();
    session.FreshStart();
    CopyDiskTwo(session);
    frame.view()->ShowRecord(session.presenter().record());
    return frame.grab().save(QString::fromStdString(path), "PNG");
}

int Run(const std::string& outDir) {
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (error) {
        std::fprintf(stderr, "torvanik-snapshot: cannot make %s: %s\n", outDir.c_str(),
                     error.message().c_str());
        return EXIT_FAILURE;
    }
    const Result<std::unique_ptr<ScratchSpace>> made = ScratchSpace::Make();
    if (!made) {
        std::fprintf(stderr, "torvanik-snapshot: %s\n", made.why().text.c_str());
        return EXIT_FAILURE;
    }
    const std::unique_ptr<ScratchSpace>& scratch = *made;
    // The drive dialog saves the settings file; keep the user's own out of it.
    setenv("XDG_CONFIG_HOME", scratch->Folder("config").c_str(), 1);
    setenv("XDG_STATE_HOME", scratch->Folder("state").c_str(), 1);
    std::filesystem::create_directories(ScratchSpace::Shown("ut"), error);
    if (!WriteSourceFile(ScratchSpace::Shown("bilde.bmp"))) {
        std::fprintf(stderr, "torvanik-snapshot: cannot write %s\n",
                     ScratchSpace::Shown("bilde.bmp").c_str());
        return EXIT_FAILURE;
    }
    SnapshotSession session(*scratch);
    for (const Scene& scene : kScenes) {
        session.FreshStart();
        scene.play(session);
        const std::string path = (std::filesystem::path(outDir) / scene.file).string();
        if (!session.SavePicture(path)) {
            std::fprintf(stderr, "torvanik-snapshot: cannot write %s\n", path.c_str());
            return EXIT_FAILURE;
        }
    }
    const std::string window = (std::filesystem::path(outDir) / "window.png").string();
    if (!SaveWindowPicture(session, window)) {
        std::fprintf(stderr, "torvanik-snapshot: cannot write %s\n", window.c_str());
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}

}  // namespace
}  // namespace torvanik::snapshot

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: torvanik-snapshot OUTDIR\n");
        return EXIT_FAILURE;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    return torvanik::snapshot::Run(argv[1]);
}
