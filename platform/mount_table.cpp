#include "platform/mount_table.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace torvanik {
namespace {

std::string Unescape(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool octal = field[i] == '\\' && i + 3 < field.size() &&
                           std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                       field.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                                       [](char c) { return c >= '0' && c <= '7'; });
        if (octal) {
            text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                      (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start < line.size()) {
        const auto end = std::min(line.find(' ', start), line.size());
        if (end > start) {
            fields.push_back(line.substr(start, end - start));
        }
        start = end + 1;
    }
    return fields;
}

std::optional<unsigned> NumberIn(std::string_view text) {
    unsigned number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

// "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw,errors=continue":
// the optional fields end at " - ", after which come the type and the source. None for a
// line that says no mount.
std::optional<MountEntry> ParseLine(std::string_view line) {
    const auto fields = Fields(line);
    const auto dash = std::find(fields.begin(), fields.end(), "-");
    if (fields.size() < 6 || dash == fields.end() || fields.end() - dash < 3) {
        return std::nullopt;
    }
    const auto colon = fields[2].find(':');
    const auto id = NumberIn(fields[0]);
    const auto major = NumberIn(fields[2].substr(0, colon));
    const auto minor =
        colon == std::string_view::npos ? std::nullopt : NumberIn(fields[2].substr(colon + 1));
    if (!id || !major || !minor) {
        return std::nullopt;
    }
    return MountEntry{
        *id, {*major, *minor}, Unescape(fields[3]), Unescape(fields[4]), Unescape(*(dash + 2))};
}

std::string_view ParentOf(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
}

std::string_view WithoutTrailingSlash(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    return path;
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = std::min(text.find('\n', start), text.size());
        if (auto entry = ParseLine(text.substr(start, end - start))) {
            mounts.push_back(std::move(*entry));
        }
        start = end + 1;
    }
    return mounts;
}

std::vector<MountEntry> MountsIn(const std::vector<MountEntry>& mounts,
                                 const std::vector<std::string>& folders) {
    std::vector<MountEntry> found;
    for (const MountEntry& mount : mounts) {
        const auto parent = ParentOf(mount.mountPoint);
        const bool inFolder =
            std::any_of(folders.begin(), folders.end(), [&](const std::string& f) {
                return !parent.empty() && parent == WithoutTrailingSlash(f);
            });
        if (!inFolder) {
            continue;
        }
        std::erase_if(found, [&](const MountEntry& m) { return m.mountPoint == mount.mountPoint; });
        found.push_back(mount);
    }
    return found;
}

std::vector<MountEntry> MountsOf(const std::vector<MountEntry>& mounts,
                                 const std::vector<DeviceNumber>& devices) {
    std::vector<MountEntry> found;
    for (const MountEntry& mount : mounts) {
        if (mount.root == "/" &&
            std::find(devices.begin(), devices.end(), mount.device) != devices.end()) {
            found.push_back(mount);
        }
    }
    return found;
}

}  // namespace torvanik
