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

std::int64_t ReadInfoNumber(File& file) {
    std::optional<unsigned char> c;
    do {
        c = file.NextByte();
        if (!c) {
            return -1;
        }
    } while (*c < '0' || *c > '9');
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    bool tooLarge = false;
    for (; c && *c >= '0' && *c <= '9'; c = file.NextByte()) {
        const int digit = *c - '0';
        if (value > (kMax - digit) / 10) {
            tooLarge = true;
        } else {
            value = value * 10 + digit;
        }
    }
    return tooLarge ? -1 : value;
}

std::optional<std::string> ReadInfoName(File& file) {
    std::optional<unsigned char> c;
    do {
        c = file.NextByte();
        if (!c) {
            return std::nullopt;
        }
    } while (*c < 32);
    std::string name;
    for (; c && *c >= 32; c = file.NextByte()) {
        name += static_cast<char>(*c);
    }
    return name;
}

bool IsBareFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string_view::npos;
}

}  // namespace torvanik
