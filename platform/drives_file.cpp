#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/drive_map_parsing.h"
#include "platform/file_system.h"
#include "platform/why_of_error.h"
#include "res/texts/drive_texts.h"

namespace torvanik {
namespace {

// No line of a drives file is anywhere near this long.
constexpr std::size_t kLongestLine = 4096;

// Lines "KEY yes|no" of the drives file.
struct SettingWord {
    std::string_view key;
    bool DriveSettings::*flag;
};
constexpr SettingWord kSettingWords[] = {
    {"eject", &DriveSettings::eject},
    {"verify", &DriveSettings::readBack},
    {"sums", &DriveSettings::checkFile},
};

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The next line of `file` without its line end, at most one byte past kLongestLine of it
// kept; none at the end of the file.
std::optional<std::string> ReadLine(File& file) {
    std::string line;
    std::optional<unsigned char> c;
    while ((c = file.NextByte()) && *c != '\n') {
        if (line.size() <= kLongestLine) {
            line += static_cast<char>(*c);
        }
    }
    if (!c && line.empty()) {
        return std::nullopt;
    }
    return line;
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

// A line that can't be read as any: too long, or with a control byte in it.
Result<void> Unfit(const std::string& line) {
    if (line.size() > kLongestLine) {
        return Refused(std::string(drive_text::kLineTooLong) + std::to_string(kLongestLine) +
                       std::string(drive_text::kBytes));
    }
    if (const auto control = ControlByteIn(line)) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", *control);
        return Refused(std::string(drive_text::kControlByte) + code + ")");
    }
    return {};
}

// One line of the drives file into `map`: a drive, a setting, a comment or nothing.
Result<void> ReadDrivesLine(const std::string& line, DriveMap& map) {
    if (auto fit = Unfit(line); !fit) {
        return fit;
    }
    const auto text = Trim(line);
    if (text.empty() || text[0] == '#') {
        return {};
    }
    const auto space = text.find_first_of(" \t");
    if (space == std::string_view::npos) {
        return Refused(std::string(drive_text::kBadLine));
    }
    const int index = DriveIndexOf(text.substr(0, space));
    const auto value = Trim(text.substr(space));
    if (index >= 0) {
        Result<DriveMapping> mapping = ParseDriveTarget(value);
        if (!mapping) {
            return mapping.why();
        }
        map.Set(index, std::move(*mapping));
        return {};
    }
    if (text.substr(0, space) == "parity") {
        if (value.size() != 1 || value[0] < '0' || value[0] > '0' + kMaxParityDisks) {
            return Refused(std::string(drive_text::kParityCount));
        }
        map.settings().parityDisks = value[0] - '0';
        return {};
    }
    for (const SettingWord& setting : kSettingWords) {
        if (text.substr(0, space) == setting.key) {
            if (value != "yes" && value != "no") {
                return Refused(std::string(drive_text::kYesOrNo));
            }
            map.settings().*setting.flag = value == "yes";
            return {};
        }
    }
    return Refused(std::string(drive_text::kBadLine));
}

}  // namespace

Result<DriveMap> LoadDrivesFile(const std::string& path) {
    Result<File> opened = OpenRegularFile(path, Links::Follow, {});
    DriveMap map;
    if (!opened) {
        const int failed = opened.why().error;
        if (failed == ENOENT) {
            return map;
        }
        return Refused(path + ": " +
                       (failed == 0 ? std::string(drive_text::kNotRegular) : SystemTextOf(failed)));
    }
    int number = 0;
    while (const auto line = ReadLine(*opened)) {
        ++number;
        if (auto read = ReadDrivesLine(*line, map); !read) {
            return Refused(path + ":" + std::to_string(number) + ": " + read.why().text);
        }
    }
    if (map.settings().parityDisks > 0 && !map.settings().checkFile) {
        return Refused(path + ": " + std::string(drive_text::kParityWithoutSums));
    }
    return map;
}

DriveMap DefaultDriveMap() {
    DriveMap map;
    map.Set(0, {{}, std::nullopt, DriveKind::Media, {}, 0});
    map.Set(1, {{}, std::nullopt, DriveKind::RemovableDisk, {}, 2});
    return map;
}

Result<DriveMap> BuildDriveMap(const std::vector<std::string>& options,
                               const std::string& drivesFile) {
    DriveMap map;
    for (const auto& option : options) {
        if (auto parsed = ParseDriveOption(option, map); !parsed) {
            return parsed.why();
        }
    }
    const Result<DriveMap> fromFile = LoadDrivesFile(drivesFile);
    if (!fromFile) {
        return fromFile.why();
    }
    map.FillFrom(*fromFile);
    map.FillFrom(DefaultDriveMap());
    map.settings() = fromFile->settings();
    return map;
}

}  // namespace torvanik
