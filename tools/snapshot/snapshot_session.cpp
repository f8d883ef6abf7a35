#include "tools/snapshot/snapshot_session.h"

#include <QImage>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/commands.h"

namespace torvanik::snapshot {
namespace {

constexpr std::uint32_t kWindowColour = 0xFFFFFFFF;
constexpr int kDriveA = 0;
constexpr int kDriveC = 2;
constexpr std::uint64_t kHardDiskFree = 1000000;

void MoveFiles(const std::string& from, const std::string& to) {
    std::error_code ignored;
    std::filesystem::create_directories(to, ignored);
    for (const auto& entry : std::filesystem::directory_iterator(from, ignored)) {
        std::filesystem::rename(entry.path(), std::filesystem::path(to) / entry.path().filename(),
                                ignored);
    }
}

}  // namespace

SnapshotSession::SnapshotSession(const ScratchSpace& scratch) : scratch_(scratch) {
    drives_.Set(kDriveA, {scratch_.Folder("a"), kHardDiskFree});
    drives_.Set(kDriveC, {scratch_.Folder("c"), kHardDiskFree});
}

SnapshotSession::~SnapshotSession() = default;

void SnapshotSession::FreshStart() {
    transfer_ = Transfer{};
    drive_ = DriveChoice{};
    presenter_.emplace(CanvasSource(surface_, {}));
    questions_ = ScriptedQuestions{};
    ReportFacts(transfer_, {questions_, files_, drives_, drive_, &*presenter_});
    Repaint();
}

void SnapshotSession::Repaint() {
    std::fill(surface_.pixels.begin(), surface_.pixels.end(), kWindowColour);
    Canvas canvas(surface_);
    presenter_->Paint(canvas);
}

void SnapshotSession::Run(const std::function<void(Transfer&, const EngineSeams&)>& command) {
    const EngineSeams seams{questions_, files_, drives_, drive_, &*presenter_};
    const Presenter::Command drawing(*presenter_);
    command(transfer_, seams);
}

void SnapshotSession::InsertEmptyDisk(std::uint64_t freeBytes) {
    drives_.Set(kDriveA, {scratch_.Folder("a"), freeBytes});
}

void SnapshotSession::TakeOutDisk(int number) {
    MoveFiles(scratch_.Folder("a"), scratch_.Folder("disk" + std::to_string(number)));
}

void SnapshotSession::PutInDisk(int number) {
    std::error_code ignored;
    const std::string drive = scratch_.Folder("a");
    const std::string disk = scratch_.Folder("disk" + std::to_string(number));
    for (const auto& entry : std::filesystem::directory_iterator(disk, ignored)) {
        std::filesystem::copy_file(entry.path(),
                                   std::filesystem::path(drive) / entry.path().filename(),
                                   std::filesystem::copy_options::overwrite_existing, ignored);
    }
}

bool SnapshotSession::SavePicture(const std::string& path) const {
    const QImage image(reinterpret_cast<const uchar*>(surface_.pixels.data()), surface_.width,
                       surface_.height, surface_.width * 4, QImage::Format_RGB32);
    return image.copy(0, 0, kPictureWidth, kPictureHeight)
        .save(QString::fromStdString(path), "PNG");
}

}  // namespace torvanik::snapshot
