#include "platform/drive_map.h"

#include "platform/cp1252.h"
#include "platform/image_drive.h"
#include "platform/mounted_disk.h"
#include "res/texts/drive_texts.h"

namespace torvanik {
namespace {

// Why a disk was not let go, in udisksctl's own words where it gave some.
std::string EjectReason(const Result<ChildOutput>& run) {
    std::string reason(drive_text::kCouldNotEject);
    const std::string& errors = ComplaintOf(run);
    const std::string firstLine = errors.substr(0, errors.find('\n'));
    if (!firstLine.empty()) {
        reason += " (" + firstLine + ")";
    }
    return reason + std::string(drive_text::kEjectByHand);
}

}  // namespace

void DriveMap::Set(int index, DriveMapping mapping) {
    drives_.at(static_cast<std::size_t>(index)) = std::move(mapping);
}

const DriveMapping* DriveMap::Find(int index) const {
    if (index < 0 || index >= kDriveLetters) {
        return nullptr;
    }
    const auto& slot = drives_[static_cast<std::size_t>(index)];
    return slot ? &*slot : nullptr;
}

void DriveMap::FillFrom(const DriveMap& fallback) {
    for (std::size_t i = 0; i < drives_.size(); ++i) {
        if (!drives_[i]) {
            drives_[i] = fallback.drives_[i];
        }
    }
}

bool DriveMap::empty() const {
    for (const auto& slot : drives_) {
        if (slot) {
            return false;
        }
    }
    return true;
}

int DriveIndexOf(std::string_view letter) {
    if (letter.size() == 2 && letter[1] == ':') {
        letter = letter.substr(0, 1);
    }
    if (letter.size() != 1) {
        return -1;
    }
    const char c = letter[0];
    int index = -1;
    if (c >= 'A' && c <= 'Z') {
        index = c - 'A';
    } else if (c >= 'a' && c <= 'z') {
        index = c - 'a';
    }
    return index < kDriveLetters ? index : -1;
}

DiskInDrive DriveMap::Resolve(int index, int diskNumber, DiskUse use) const {
    const DriveMapping* drive = Find(index);
    if (drive == nullptr) {
        return {};
    }
    DiskInDrive disk;
    switch (drive->kind) {
        case DriveKind::Folder:
            disk.folder = drive->directory;
            disk.capacity = drive->capacity;
            break;
        case DriveKind::Images:
            disk = ResolveImageDisk(*drive, diskNumber, use);
            break;
        case DriveKind::Media:
        case DriveKind::Device:
        case DriveKind::RemovableDisk:
            disk = FindMountedDisk(*drive, *system_, ParseMountInfo(system_->MountInfo()));
            break;
    }
    disk.kind = drive->kind;
    return disk;
}

Result<std::string> DriveMap::Finish(const DiskInDrive& disk) const {
    if (disk.kind == DriveKind::Images) {
        if (auto carried = FinishImageDisk(disk); !carried) {
            return carried.why();
        }
        return std::string();
    }
    // The files are flushed by now, so a disk that can't be let go is no failed step.
    if (!settings_.eject || disk.device.empty()) {
        return std::string();
    }
    switch (system_->UdisksState()) {
        case DriveSystem::Udisks::kNotInstalled:
            return std::string(drive_text::kUdisksMissing);
        case DriveSystem::Udisks::kNoSystemBus:
            return std::string();
        case DriveSystem::Udisks::kReady:
            break;
    }
    const Result<ChildOutput> unmount =
        system_->RunUdisks({"unmount", "--no-user-interaction", "-b", disk.device});
    if (!Succeeded(unmount)) {
        return EjectReason(unmount);
    }
    if (!system_->MediumComesOut(disk.device)) {
        // A drive left powered is no worse off: its disk is unmounted and can be pulled.
        static_cast<void>(
            system_->RunUdisks({"power-off", "--no-user-interaction", "-b", disk.device}));
    }
    return std::string();
}

Result<void> DriveMap::CarryDeletions(const DiskInDrive& disk) const {
    if (disk.kind == DriveKind::Images) {
        return FinishImageDisk(disk);
    }
    return {};
}

std::string DiskPath(const DiskInDrive& disk, std::string_view drivePath) {
    if (disk.folder.empty() || drivePath.size() < 2 || drivePath[1] != ':') {
        return {};
    }
    std::string rest = Cp1252ToUtf8(drivePath.substr(2));
    for (char& c : rest) {
        if (c == '\\') {
            c = '/';
        }
    }
    const auto start = rest.find_first_not_of('/');
    if (start == std::string::npos) {
        return disk.folder;
    }
    return disk.folder + "/" + rest.substr(start);
}

}  // namespace torvanik
