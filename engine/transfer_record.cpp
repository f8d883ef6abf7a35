#include "engine/transfer_record.h"

#include <charconv>
#include <sstream>
#include <vector>

#include "platform/drive_map.h"

namespace torvanik {
namespace {

constexpr std::string_view kFirstLine = "torvanik-overforing 1";
constexpr std::string_view kLastLine = "slutt";

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        hex += kDigits[value >> 4];
        hex += kDigits[value & 15];
    }
    return hex;
}

std::optional<std::string> Unhex(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(hex.data() + i, hex.data() + i + 2, value, 16);
        if (error != std::errc{} || end != hex.data() + i + 2) {
            return std::nullopt;
        }
        bytes += static_cast<char>(value);
    }
    return bytes;
}

template <typename Number>
bool NumberOf(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

// The record's lines as key and value, in their fixed order.
std::vector<std::pair<std::string_view, std::string_view>> Fields(std::string_view text) {
    std::vector<std::pair<std::string_view, std::string_view>> fields;
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) {
            return {};
        }
        const std::string_view line = text.substr(0, end);
        const auto space = line.find(' ');
        fields.emplace_back(line.substr(0, space),
                            space == std::string_view::npos ? "" : line.substr(space + 1));
        text.remove_prefix(end + 1);
    }
    return fields;
}

bool TimeOf(std::string_view text, timespec& time) {
    const auto dot = text.find('.');
    return dot != std::string_view::npos && NumberOf(text.substr(0, dot), time.tv_sec) &&
           NumberOf(text.substr(dot + 1), time.tv_nsec) && time.tv_nsec >= 0 &&
           time.tv_nsec < 1'000'000'000;
}

std::string TimeText(const timespec& time) {
    return std::to_string(time.tv_sec) + "." + std::to_string(time.tv_nsec);
}

}  // namespace

std::string FormatRecord(const TransferRecord& r) {
    std::ostringstream out;
    out << kFirstLine << '\n'
        << "art " << (r.kind == TransferKind::kJoin ? "inn" : "ut") << '\n'
        << "fil " << Hex(r.path) << '\n'
        << "sett " << Hex(r.setName) << '\n'
        << "kontrollsett " << Hex(r.setIdentity) << '\n'
        << "lengde " << r.total << '\n'
        << "neste-diskett " << r.nextDisk << '\n'
        << "ferdig " << r.done << '\n'
        << "enhet " << r.file.identity.device << '\n'
        << "inode " << r.file.identity.inode << '\n'
        << "storrelse " << r.file.identity.size << '\n'
        << "endret " << TimeText(r.file.modified) << '\n'
        << "status-endret " << TimeText(r.file.changed) << '\n';
    if (r.parity.disks > 0) {
        out << "paritet " << r.parity.disks << '\n'
            << "skive " << r.parity.sliceSize << '\n'
            << "datadisketter " << r.parity.dataDisks << '\n'
            << "neste-paritet " << r.parity.nextParityDisk << '\n';
    }
    out << kLastLine << '\n';
    return out.str();
}

namespace {

// The parity lines, between the file's and the last: all four or none.
bool TakeParity(std::vector<std::pair<std::string_view, std::string_view>>& fields,
                ParityState& parity) {
    constexpr std::size_t kWithout = 14;
    constexpr std::string_view kKeys[] = {"paritet", "skive", "datadisketter", "neste-paritet"};
    if (fields.size() == kWithout) {
        return true;
    }
    if (fields.size() != kWithout + std::size(kKeys)) {
        return false;
    }
    const std::size_t first = kWithout - 1;
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        if (fields[first + i].first != kKeys[i]) {
            return false;
        }
    }
    const bool read = NumberOf(fields[first].second, parity.disks) &&
                      NumberOf(fields[first + 1].second, parity.sliceSize) &&
                      NumberOf(fields[first + 2].second, parity.dataDisks) &&
                      NumberOf(fields[first + 3].second, parity.nextParityDisk);
    fields.erase(fields.begin() + static_cast<std::ptrdiff_t>(first),
                 fields.begin() + static_cast<std::ptrdiff_t>(first + std::size(kKeys)));
    return read && parity.disks >= 1 && parity.disks <= kMaxParityDisks && parity.sliceSize > 0 &&
           parity.sliceSize % 4 == 0 && parity.dataDisks >= 1 && parity.nextParityDisk >= 0 &&
           parity.nextParityDisk <= parity.disks;
}

}  // namespace

std::optional<TransferRecord> ParseRecord(std::string_view text) {
    auto fields = Fields(text);
    TransferRecord r;
    if (!TakeParity(fields, r.parity)) {
        return std::nullopt;
    }
    constexpr std::string_view kKeys[] = {
        "torvanik-overforing", "art",    "fil",   "sett",  "kontrollsett", "lengde",
        "neste-diskett",       "ferdig", "enhet", "inode", "storrelse",    "endret",
        "status-endret",       "slutt"};
    if (fields.size() != std::size(kKeys)) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].first != kKeys[i]) {
            return std::nullopt;
        }
    }
    const auto path = Unhex(fields[2].second);
    const auto setName = Unhex(fields[3].second);
    const auto setIdentity = Unhex(fields[4].second);
    const std::string_view kind = fields[1].second;
    const bool whole = fields[0].second == "1" && (kind == "ut" || kind == "inn") && path &&
                       setName && setIdentity && NumberOf(fields[5].second, r.total) &&
                       NumberOf(fields[6].second, r.nextDisk) &&
                       NumberOf(fields[7].second, r.done) &&
                       NumberOf(fields[8].second, r.file.identity.device) &&
                       NumberOf(fields[9].second, r.file.identity.inode) &&
                       NumberOf(fields[10].second, r.file.identity.size) &&
                       TimeOf(fields[11].second, r.file.modified) &&
                       TimeOf(fields[12].second, r.file.changed) && fields[13].second.empty();
    // Every finished disk carried a byte at least.
    if (!whole || r.nextDisk < 2 || r.done <= 0 || r.done > r.total || r.nextDisk - 1 > r.done) {
        return std::nullopt;
    }
    r.kind = kind == "inn" ? TransferKind::kJoin : TransferKind::kSplit;
    r.path = *path;
    r.setName = *setName;
    r.setIdentity = *setIdentity;
    return r;
}

}  // namespace torvanik
