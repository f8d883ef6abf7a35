#include "platform/drive_map.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/cp1252.h"
#include "platform/drive_texts.h"
#include "platform/file_system.h"
#include "platform/image_drive.h"
#include "platform/why_of_error.h"

namespace torvanik {
namespace {

constexpr std::string_view kCapacityKey = ",capacity=";
constexpr std::string_view kFormatKey = ",format=";
constexpr const char* kFormatOnlyForImages = "format= gjelder bare images:";
// statx's unique mount number (Linux 6.8), which older headers do not name.
#ifdef STATX_MNT_ID_UNIQUE
constexpr unsigned kUniqueMountId = STATX_MNT_ID_UNIQUE;
#else
constexpr unsigned kUniqueMountId = 0x4000U;
#endif
// No line of a drives file is anywhere near this long.
constexpr std::size_t kLongestLine = 4096;

// The targets that are not a folder: the word alone, or the word, ':' and a path.
struct KindWord {
    std::string_view word;
    DriveKind kind;
    bool pathRequired;
    std::string DriveMapping::*path;
};
constexpr KindWord kKindWords[] = {
    {"media", DriveKind::Media, false, &DriveMapping::directory},
    {"device", DriveKind::Device, true, &DriveMapping::device},
    {"images", DriveKind::Images, true, &DriveMapping::directory},
};

// Lines "KEY yes|no" of the drives file.
struct SettingWord {
    std::string_view key;
    bool DriveSettings::*flag;
};
constexpr SettingWord kSettingWords[] = {
    {"eject", &DriveSettings::eject},
    {"verify", &DriveSettings::verify},
    {"sums", &DriveSettings::sums},
};

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool ParseCapacity(std::string_view digits, DriveMapping& mapping, std::string& error) {
    std::uint64_t capacity = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), capacity);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
        error = "ugyldig kapasitet: " + std::string(digits);
        return false;
    }
    mapping.capacity = capacity;
    return true;
}

bool ParseFormat(std::string_view name, DriveMapping& mapping, std::string& error) {
    mapping.format = FloppyFormatNamed(name);
    if (mapping.format == nullptr) {
        error = "ugyldig format: " + std::string(name) + " (ventet " + FloppyFormatNames() + ")";
        return false;
    }
    return true;
}

// Takes the settings after the target (",capacity=N", ",format=F", in any order) off the
// end of `text`; `formatGiven` tells whether one was a format.
bool ParseSettings(std::string_view& text, DriveMapping& mapping, bool& formatGiven,
                   std::string& error) {
    while (true) {
        const auto capacity = text.rfind(kCapacityKey);
        const auto format = text.rfind(kFormatKey);
        if (capacity == std::string_view::npos && format == std::string_view::npos) {
            return true;
        }
        const bool isFormat = format != std::string_view::npos &&
                              (capacity == std::string_view::npos || format > capacity);
        const auto at = isFormat ? format : capacity;
        const auto value = text.substr(at + (isFormat ? kFormatKey : kCapacityKey).size());
        if (!(isFormat ? ParseFormat : ParseCapacity)(value, mapping, error)) {
            return false;
        }
        formatGiven = formatGiven || isFormat;
        text = text.substr(0, at);
    }
}

// "DIR[,capacity=N][,format=F]" into a mapping.
bool ParseTarget(std::string_view text, DriveMapping& mapping, std::string& error) {
    mapping = {};
    bool formatGiven = false;
    if (!ParseSettings(text, mapping, formatGiven, error)) {
        return false;
    }
    if (text.empty()) {
        error = "mappen mangler";
        return false;
    }
    for (const KindWord& kind : kKindWords) {
        const bool alone = text == kind.word;
        const bool withPath = text.size() > kind.word.size() && text.starts_with(kind.word) &&
                              text[kind.word.size()] == ':';
        if ((alone && kind.pathRequired) || (withPath && text.size() == kind.word.size() + 1)) {
            error = std::string(kind.word) + " mangler sti (" + std::string(kind.word) + ":STI)";
            return false;
        }
        if (alone || withPath) {
            mapping.kind = kind.kind;
            if (formatGiven && mapping.kind != DriveKind::Images) {
                error = kFormatOnlyForImages;
                return false;
            }
            if (withPath) {
                mapping.*kind.path = std::string(text.substr(kind.word.size() + 1));
            }
            // A device that is not plugged in is only an empty drive; anything else there
            // is a mistake.
            struct stat info {};
            if (kind.kind == DriveKind::Device && stat(mapping.device.c_str(), &info) == 0 &&
                !S_ISBLK(info.st_mode)) {
                error = mapping.device + " er ikke en blokkenhet";
                return false;
            }
            return true;
        }
    }
    if (formatGiven) {
        error = kFormatOnlyForImages;
        return false;
    }
    mapping.directory = std::string(text);
    return true;
}

// "eject no": true when `key` names a setting; `ok` tells whether its value was good.
bool ParseSetting(std::string_view key, std::string_view value, DriveSettings& settings, bool& ok) {
    for (const SettingWord& setting : kSettingWords) {
        if (key == setting.key) {
            ok = value == "yes" || value == "no";
            settings.*setting.flag = value == "yes";
            return true;
        }
    }
    return false;
}

// The next line of `stream` without its line end, at most one byte past kLongestLine of it
// kept; false at the end of the file.
bool ReadLine(File& file, std::string& line) {
    line.clear();
    std::optional<unsigned char> c;
    while ((c = file.NextByte()) && *c != '\n') {
        if (line.size() <= kLongestLine) {
            line += static_cast<char>(*c);
        }
    }
    return c || !line.empty();
}

// The first control byte in a line (a tab, and the carriage return of a CRLF line end,
// are none).
std::optional<unsigned> ControlByteIn(std::string_view line) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
            return byte;
        }
    }
    return std::nullopt;
}

// The mount at `folder` (the kernel's 64-bit number, never used again, where it has one;
// else the number of the mount table, which a later mount may take again) and the file
// system's root folder. The root's times are no part of it: writing to the disk moves them.
std::string MountAndRoot(const std::string& folder, unsigned tableId) {
    struct statx root {};
    if (statx(AT_FDCWD, folder.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | kUniqueMountId,
              &root) != 0) {
        return std::to_string(tableId) + " -";
    }
    const std::string mount = (root.stx_mask & kUniqueMountId) != 0
                                  ? "u" + std::to_string(root.stx_mnt_id)
                                  : std::to_string(tableId);
    return mount + " " + std::to_string(root.stx_dev_major) + ":" +
           std::to_string(root.stx_dev_minor) + ":" + std::to_string(root.stx_ino);
}

// The kernel lists mount points as absolute paths with no links in them.
std::string RealPath(const std::string& folder) {
    std::error_code error;
    const auto real = std::filesystem::weakly_canonical(folder, error);
    return error ? folder : real.string();
}

// The disk mounted where the mapping says, as found in `mounts` now.
DiskInDrive FindMountedDisk(const DriveMapping& drive, const DriveSystem& system,
                            const std::vector<MountEntry>& mounts) {
    std::vector<MountEntry> found;
    if (drive.kind == DriveKind::Media) {
        found = MountsIn(mounts, drive.directory.empty()
                                     ? system.AutomountFolders()
                                     : std::vector<std::string>{RealPath(drive.directory)});
        if (found.size() > 1) {
            return {{}, drive.capacity, std::string(drive_text::kTwoDisksIn), nullptr, {}};
        }
    } else if (drive.kind == DriveKind::Device) {
        found = MountsOf(mounts, system.DeviceAndPartitions(drive.device));
    } else if (drive.kind == DriveKind::RemovableDisk) {
        const auto disks = system.RemovableDisks();
        if (drive.order >= 1 && static_cast<std::size_t>(drive.order) <= disks.size()) {
            found = MountsOf(mounts, disks[static_cast<std::size_t>(drive.order - 1)]);
        }
    }
    if (found.empty()) {
        return {{}, drive.capacity, std::string(drive_text::kNoDiskIn), nullptr, {}};
    }
    const MountEntry& disk = found.front();
    // Only a block device can be let go; a tmpfs or the like stays as it is.
    return {disk.mountPoint,
            drive.capacity,
            {},
            nullptr,
            disk.source.starts_with("/dev/") ? disk.source : std::string()};
}

// Why a disk was not let go, in udisksctl's own words where it gave some.
std::string EjectReason(const ChildRun& run) {
    std::string reason(drive_text::kCouldNotEject);
    const std::string firstLine = run.errors.substr(0, run.errors.find('\n'));
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

bool ParseDriveOption(std::string_view text, DriveMap& map, std::string& error) {
    const auto equals = text.find('=');
    const int index = equals == std::string_view::npos ? -1 : DriveIndexOf(text.substr(0, equals));
    if (index < 0) {
        error = "ugyldig stasjon i \"" + std::string(text) + "\" (ventet X:=MAPPE)";
        return false;
    }
    DriveMapping mapping;
    if (!ParseTarget(text.substr(equals + 1), mapping, error)) {
        std::string message(text);
        message += ": ";
        message += error;
        error = std::move(message);
        return false;
    }
    map.Set(index, std::move(mapping));
    return true;
}

bool LoadDrivesFile(const std::string& path, DriveMap& map, std::string& error) {
    auto opened = OpenRegularFile(path, Links::Follow, {});
    if (!opened) {
        const int failed = opened.why().error;
        if (failed == ENOENT) {
            return true;
        }
        error = path + ": " + (failed == 0 ? "ikke en vanlig fil" : SystemTextOf(failed));
        return false;
    }
    std::string line;
    int number = 0;
    while (ReadLine(*opened, line)) {
        ++number;
        const std::string where = path + ":" + std::to_string(number) + ": ";
        if (line.size() > kLongestLine) {
            error = where + "linjen er lengre enn " + std::to_string(kLongestLine) + " byte";
            return false;
        }
        if (const auto control = ControlByteIn(line)) {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", *control);
            error = where + "linjen har et kontrolltegn (" + code + ")";
            return false;
        }
        const auto text = Trim(line);
        if (text.empty() || text[0] == '#') {
            continue;
        }
        const auto space = text.find_first_of(" \t");
        const int index =
            space == std::string_view::npos ? -1 : DriveIndexOf(text.substr(0, space));
        bool ok = false;
        if (index < 0 && space != std::string_view::npos &&
            ParseSetting(text.substr(0, space), Trim(text.substr(space)), map.settings(), ok)) {
            if (!ok) {
                error = where + "ventet yes eller no";
                return false;
            }
            continue;
        }
        DriveMapping mapping;
        if (index < 0) {
            error = where + "ugyldig linje";
            return false;
        }
        if (!ParseTarget(Trim(text.substr(space)), mapping, error)) {
            error = where + error;
            return false;
        }
        map.Set(index, std::move(mapping));
    }
    return true;
}

DriveMap DefaultDriveMap() {
    DriveMap map;
    map.Set(0, {{}, std::nullopt, DriveKind::Media, {}, 0});
    map.Set(1, {{}, std::nullopt, DriveKind::RemovableDisk, {}, 2});
    return map;
}

bool BuildDriveMap(const std::vector<std::string>& options, const std::string& drivesFile,
                   DriveMap& map, std::string& error) {
    map = {};
    for (const auto& option : options) {
        if (!ParseDriveOption(option, map, error)) {
            return false;
        }
    }
    DriveMap fromFile;
    if (!LoadDrivesFile(drivesFile, fromFile, error)) {
        return false;
    }
    map.FillFrom(fromFile);
    map.FillFrom(DefaultDriveMap());
    map.settings() = fromFile.settings();
    return true;
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

std::string DriveMap::DiskIdentity(int index) const {
    const DiskInDrive disk = Resolve(index, 1, DiskUse::Read);
    if (disk.folder.empty()) {
        return {};
    }
    const auto mounts = ParseMountInfo(system_->MountInfo());
    const auto entry = std::find_if(mounts.rbegin(), mounts.rend(), [&](const MountEntry& m) {
        return m.mountPoint == disk.folder;
    });
    if (entry == mounts.rend()) {
        return {};
    }
    if (const std::string uuid = system_->FileSystemUuid(entry->device); !uuid.empty()) {
        return "uuid " + uuid;
    }
    const std::string device =
        std::to_string(entry->device.major) + ":" + std::to_string(entry->device.minor);
    return "mount " + MountAndRoot(disk.folder, entry->id) + " " + device + " " + disk.folder;
}

bool DriveMap::Finish(const DiskInDrive& disk, std::string& reason) const {
    if (disk.kind == DriveKind::Images) {
        return FinishImageDisk(disk, reason);
    }
    // The files are flushed by now, so a disk that can't be let go is no failed step.
    if (!settings_.eject || disk.device.empty()) {
        return true;
    }
    switch (system_->UdisksState()) {
        case DriveSystem::Udisks::kNotInstalled:
            reason = drive_text::kUdisksMissing;
            return true;
        case DriveSystem::Udisks::kNoSystemBus:
            return true;
        case DriveSystem::Udisks::kReady:
            break;
    }
    const ChildRun unmount =
        system_->RunUdisks({"unmount", "--no-user-interaction", "-b", disk.device});
    if (unmount.exitCode != 0) {
        reason = EjectReason(unmount);
        return true;
    }
    if (!system_->MediumComesOut(disk.device)) {
        system_->RunUdisks({"power-off", "--no-user-interaction", "-b", disk.device});
    }
    return true;
}

bool DriveMap::CarryDeletions(const DiskInDrive& disk, std::string& reason) const {
    if (disk.kind == DriveKind::Images) {
        return FinishImageDisk(disk, reason);
    }
    return true;
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
