#include <sys/stat.h>

#include <charconv>

#include "platform/drive_map_parsing.h"
#include "res/texts/drive_texts.h"

namespace torvanik {
namespace {

constexpr std::string_view kCapacityKey = ",capacity=";
constexpr std::string_view kFormatKey = ",format=";

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

Result<void> ParseCapacity(std::string_view digits, DriveMapping& mapping) {
    std::uint64_t capacity = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), capacity);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
        return Refused(std::string(drive_text::kBadCapacity) + std::string(digits));
    }
    mapping.capacity = capacity;
    return {};
}

Result<void> ParseFormat(std::string_view name, DriveMapping& mapping) {
    mapping.format = FloppyFormatNamed(name);
    if (mapping.format == nullptr) {
        return Refused(std::string(drive_text::kBadFormat) + std::string(name) +
                       std::string(drive_text::kExpected) + FloppyFormatNames() + ")");
    }
    return {};
}

// Takes the settings after the target (",capacity=N", ",format=F", in any order) off the
// end of `text`; true when one was a format.
Result<bool> ParseSettings(std::string_view& text, DriveMapping& mapping) {
    bool formatGiven = false;
    while (true) {
        const auto capacity = text.rfind(kCapacityKey);
        const auto format = text.rfind(kFormatKey);
        if (capacity == std::string_view::npos && format == std::string_view::npos) {
            return formatGiven;
        }
        const bool isFormat = format != std::string_view::npos &&
                              (capacity == std::string_view::npos || format > capacity);
        const auto at = isFormat ? format : capacity;
        const auto value = text.substr(at + (isFormat ? kFormatKey : kCapacityKey).size());
        if (auto parsed = (isFormat ? ParseFormat : ParseCapacity)(value, mapping); !parsed) {
            return parsed.why();
        }
        formatGiven = formatGiven || isFormat;
        text = text.substr(0, at);
    }
}

// `text` as the target of `kind`: the word alone or with its path.
Result<DriveMapping> ParseKind(std::string_view text, const KindWord& kind, bool formatGiven,
                               DriveMapping mapping) {
    const bool withPath = text != kind.word;
    if ((!withPath && kind.pathRequired) || (withPath && text.size() == kind.word.size() + 1)) {
        return Refused(std::string(kind.word) + std::string(drive_text::kMissingPath) +
                       std::string(kind.word) + std::string(drive_text::kPathPattern));
    }
    mapping.kind = kind.kind;
    if (formatGiven && mapping.kind != DriveKind::Images) {
        return Refused(std::string(drive_text::kFormatOnlyForImages));
    }
    if (withPath) {
        mapping.*kind.path = std::string(text.substr(kind.word.size() + 1));
    }
    // A device that is not plugged in is only an empty drive; anything else there is a
    // mistake.
    struct stat info {};
    if (kind.kind == DriveKind::Device && stat(mapping.device.c_str(), &info) == 0 &&
        !S_ISBLK(info.st_mode)) {
        return Refused(mapping.device + " er ikke en blokkenhet");
    }
    return mapping;
}

}  // namespace

Result<DriveMapping> ParseDriveTarget(std::string_view text) {
    DriveMapping mapping;
    const Result<bool> formatGiven = ParseSettings(text, mapping);
    if (!formatGiven) {
        return formatGiven.why();
    }
    if (text.empty()) {
        return Refused(std::string(drive_text::kFolderMissing));
    }
    for (const KindWord& kind : kKindWords) {
        const bool alone = text == kind.word;
        const bool withPath = text.size() > kind.word.size() && text.starts_with(kind.word) &&
                              text[kind.word.size()] == ':';
        if (alone || withPath) {
            return ParseKind(text, kind, *formatGiven, std::move(mapping));
        }
    }
    if (*formatGiven) {
        return Refused(std::string(drive_text::kFormatOnlyForImages));
    }
    mapping.directory = std::string(text);
    return mapping;
}

Result<void> ParseDriveOption(std::string_view text, DriveMap& map) {
    const auto equals = text.find('=');
    const int index = equals == std::string_view::npos ? -1 : DriveIndexOf(text.substr(0, equals));
    if (index < 0) {
        return Refused(std::string(drive_text::kBadDrive) + std::string(text) +
                       std::string(drive_text::kExpectedDrive));
    }
    Result<DriveMapping> mapping = ParseDriveTarget(text.substr(equals + 1));
    if (!mapping) {
        return Refused(std::string(text) + ": " + mapping.why().text);
    }
    map.Set(index, std::move(*mapping));
    return {};
}

}  // namespace torvanik
