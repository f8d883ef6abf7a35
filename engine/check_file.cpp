#include "engine/check_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <random>

namespace torvanik {
namespace {

constexpr std::string_view kPrefix = "TV";
constexpr std::string_view kExtension = ".XXH";
constexpr std::size_t kIdentityDigits = 6;
constexpr std::size_t kDigestDigits = 32;
// Between the digest and the name: a space, then a space (text) or '*' (binary).
constexpr std::size_t kSeparator = 2;

bool SameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

std::optional<std::uint64_t> HexHalf(std::string_view digits) {
    std::uint64_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string NewSetIdentity() {
    std::random_device random;
    std::uniform_int_distribution<unsigned> draw(0, 0xFFFFFF);
    char digits[kIdentityDigits + 1];
    std::snprintf(digits, sizeof digits, "%06X", draw(random));
    return digits;
}

std::string CheckFileName(std::string_view identity) {
    std::string name(kPrefix);
    name += identity;
    name += kExtension;
    return name;
}

std::optional<std::string> IdentityInName(std::string_view fileName) {
    if (fileName.size() != kPrefix.size() + kIdentityDigits + kExtension.size() ||
        !SameLetters(fileName.substr(0, kPrefix.size()), kPrefix) ||
        !SameLetters(fileName.substr(kPrefix.size() + kIdentityDigits), kExtension)) {
        return std::nullopt;
    }
    std::string identity(fileName.substr(kPrefix.size(), kIdentityDigits));
    for (char& c : identity) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return identity;
}

std::string CheckLine(const Digest128& digest, std::string_view fileName) {
    char digits[kDigestDigits + 1];
    std::snprintf(digits, sizeof digits, "%016llx%016llx",
                  static_cast<unsigned long long>(digest.high),
                  static_cast<unsigned long long>(digest.low));
    std::string line(digits);
    line += "  ";
    line += fileName;
    line += '\n';
    return line;
}

CheckFileLine DigestInCheckFile(std::string_view text, std::string_view fileName) {
    using Found = CheckFileLine::Found;
    CheckFileLine listed;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.size() <= kDigestDigits + kSeparator || line[kDigestDigits] != ' ' ||
            (line[kDigestDigits + 1] != ' ' && line[kDigestDigits + 1] != '*')) {
            return {Found::kDamagedText, {}};
        }
        const auto high = HexHalf(line.substr(0, kDigestDigits / 2));
        const auto low = HexHalf(line.substr(kDigestDigits / 2, kDigestDigits / 2));
        if (!high || !low) {
            return {Found::kDamagedText, {}};
        }
        if (line.substr(kDigestDigits + kSeparator) != fileName) {
            continue;
        }
        const Digest128 digest{*high, *low};
        if (listed.found == Found::kLine && listed.digest != digest) {
            listed.found = Found::kTwoDigests;
        } else if (listed.found == Found::kNoLine) {
            listed = {Found::kLine, digest};
        }
    }
    return listed;
}

}  // namespace torvanik
