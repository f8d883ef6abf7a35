#include "engine/disk_set.h"

#include <limits>

namespace torvanik {

std::string SetNameOf(std::string_view sourceName) {
    std::string name(sourceName);
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 32 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return name;
}

std::string ChunkBaseName(std::string_view name) {
    std::string base(name);
    for (char& c : base) {
        if (static_cast<signed char>(c) < 32) {
            break;
        }
        if (c == '.') {
            c = '_';
        }
    }
    return base;
}

std::string ChunkPath(std::string_view driveRoot, std::string_view baseName, int disk) {
    std::string path(driveRoot);
    path += baseName;
    path += '_';
    path += std::to_string(disk);
    return path;
}

std::string InfoFilePath(std::string_view driveRoot) {
    return std::string(driveRoot) + "\\INFO.FIL";
}

std::string FormatInfoFile(std::int64_t length, std::string_view name) {
    std::string text = std::to_string(length);
    text += '\n';
    text += name;
    return text;
}

namespace {

// The readers of INFO.FIL over any source of bytes: `next` gives the next byte, or none at
// the end.
template <typename NextByte>
std::int64_t InfoNumberOf(NextByte next) {
    std::optional<unsigned char> c;
    do {
        c = next();
        if (!c) {
            return -1;
        }
    } while (*c < '0' || *c > '9');
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    bool tooLarge = false;
    for (; c && *c >= '0' && *c <= '9'; c = next()) {
        const int digit = *c - '0';
        if (value > (kMax - digit) / 10) {
            tooLarge = true;
        } else {
            value = value * 10 + digit;
        }
    }
    return tooLarge ? -1 : value;
}

template <typename NextByte>
std::optional<std::string> InfoNameOf(NextByte next) {
    std::optional<unsigned char> c;
    do {
        c = next();
        if (!c) {
            return std::nullopt;
        }
    } while (*c < 32);
    std::string name;
    for (; c && *c >= 32; c = next()) {
        name += static_cast<char>(*c);
    }
    return name;
}

}  // namespace

std::int64_t ReadInfoNumber(File& file) {
    return InfoNumberOf([&file] { return file.NextByte(); });
}

std::optional<std::string> ReadInfoName(File& file) {
    return InfoNameOf([&file] { return file.NextByte(); });
}

InfoFileFacts ParseInfoFile(std::string_view bytes) {
    std::size_t at = 0;
    const auto next = [&]() -> std::optional<unsigned char> {
        if (at >= bytes.size()) {
            return std::nullopt;
        }
        return static_cast<unsigned char>(bytes[at++]);
    };
    InfoFileFacts facts;
    facts.length = InfoNumberOf(next);
    facts.name = InfoNameOf(next);
    return facts;
}

bool IsBareFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string_view::npos;
}

}  // namespace torvanik
