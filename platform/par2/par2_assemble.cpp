#include <algorithm>
#include <cstring>

#include "platform/par2/par2_reader_state.h"

namespace torvanik::par2 {
namespace {

constexpr std::size_t kFileDescFixedBytes = 56;
constexpr std::size_t kOneSliceChecksumBytes = 36;

Why Damaged() {
    return Why{.reason = Reason::kParityDamaged};
}

const std::uint8_t* Bytes(const std::string& body) {
    return reinterpret_cast<const std::uint8_t*>(body.data());
}

Md5 Md5From(const std::string& body, std::size_t at) {
    Md5 md5{};
    std::memcpy(md5.data(), body.data() + at, md5.size());
    return md5;
}

// The file IDs of the Main packet, in its order, which must be PAR2's: no other.
std::optional<std::vector<Md5>> MainFileIds(const std::string& body) {
    if (body.size() < 12 || (body.size() - 12) % 16 != 0) {
        return std::nullopt;
    }
    const std::uint32_t count = GetU32(Bytes(body) + 8);
    if (count == 0 || count != (body.size() - 12) / 16) {
        return std::nullopt;
    }
    std::vector<Md5> ids;
    for (std::size_t at = 12; at < body.size(); at += 16) {
        ids.push_back(Md5From(body, at));
    }
    const std::vector<int> order = MainOrder(ids);
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] != static_cast<int>(i) || (i > 0 && ids[i] == ids[i - 1])) {
            return std::nullopt;
        }
    }
    return ids;
}

// One chunk from its File Description and its checksums, if they agree with its ID.
std::optional<InputFile> FileOf(const Md5& id, const KeptPackets& kept, std::uint64_t sliceSize) {
    const auto desc = kept.fileDescs.find(id);
    const auto sum = kept.checksums.find(id);
    if (desc == kept.fileDescs.end() || desc->second.body.size() < kFileDescFixedBytes ||
        sum == kept.checksums.end() || sum->second.body.size() != kOneSliceChecksumBytes) {
        return std::nullopt;
    }
    const std::string& descBody = desc->second.body;
    const std::string& sumBody = sum->second.body;
    const std::string name = descBody.substr(kFileDescFixedBytes);
    InputFile file{.name = name.substr(0, name.find('\0')),
                   .length = GetU64(Bytes(descBody) + 48),
                   .hash = Md5From(descBody, 16),
                   .hash16k = Md5From(descBody, 32),
                   .sliceHash = Md5From(sumBody, 16),
                   .sliceCrc = GetU32(Bytes(sumBody) + 32)};
    if (file.length == 0 || file.length > sliceSize || FileIdOf(file) != id) {
        return std::nullopt;
    }
    return file;
}

struct FactsRead {
    SetFacts facts;
    std::vector<Md5> diskOrder;  // the file IDs, disk 1's first
};

std::optional<FactsRead> FactsOf(const std::string& body) {
    if (body.size() < kSetFactsFixedBytes || GetU32(Bytes(body)) != kSetFactsVersion) {
        return std::nullopt;
    }
    const std::uint8_t* at = Bytes(body);
    const std::uint32_t infoLength = GetU32(at + 12);
    const std::size_t idsAt = kSetFactsFixedBytes + PaddedTo4(infoLength);
    const std::uint32_t dataDisks = GetU32(at + 8);
    if (idsAt > body.size() || body.size() - idsAt != std::size_t{16} * dataDisks) {
        return std::nullopt;
    }
    const std::string identity = body.substr(16, 8);
    FactsRead read{.facts = {.parityDisks = GetU32(at + 4),
                             .dataDisks = dataDisks,
                             .identity = identity.substr(0, identity.find('\0')),
                             .modifiedSeconds = static_cast<std::int64_t>(GetU64(at + 24)),
                             .accessedSeconds = static_cast<std::int64_t>(GetU64(at + 40)),
                             .modifiedNanoseconds = GetU32(at + 32),
                             .accessedNanoseconds = GetU32(at + 48),
                             .infoFile = body.substr(kSetFactsFixedBytes, infoLength)},
                   .diskOrder = {}};
    for (std::size_t idAt = idsAt; idAt < body.size(); idAt += 16) {
        read.diskOrder.push_back(Md5From(body, idAt));
    }
    return read;
}

// The disk order names every file of the Main packet once.
bool SameFiles(const std::vector<Md5>& diskOrder, const std::vector<Md5>& mainIds) {
    if (diskOrder.size() != mainIds.size()) {
        return false;
    }
    const std::vector<int> sorted = MainOrder(diskOrder);
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (diskOrder[sorted[i]] != mainIds[i]) {
            return false;
        }
    }
    return true;
}

bool AllOfSet(const KeptPackets& kept, const Md5& setId) {
    const auto ofSet = [&](const KeptPacket& packet) { return packet.setId == setId; };
    return ofSet(*kept.main) && (!kept.facts || ofSet(*kept.facts)) &&
           std::all_of(kept.fileDescs.begin(), kept.fileDescs.end(),
                       [&](const auto& entry) { return ofSet(entry.second); }) &&
           std::all_of(kept.checksums.begin(), kept.checksums.end(),
                       [&](const auto& entry) { return ofSet(entry.second); }) &&
           std::all_of(kept.otherSetIds.begin(), kept.otherSetIds.end(),
                       [&](const Md5& id) { return id == setId; });
}

}  // namespace

Result<SetLayout> AssembleLayout(const KeptPackets& kept, std::optional<SeenRecovery>& recovery) {
    if (!kept.main || kept.conflicting) {
        return Damaged();
    }
    const std::optional<std::vector<Md5>> ids = MainFileIds(kept.main->body);
    SetLayout layout;
    layout.sliceSize = GetU64(Bytes(kept.main->body));
    if (!ids || layout.sliceSize == 0 || layout.sliceSize % 4 != 0) {
        return Damaged();
    }
    const Md5 setId = Md5Of(kept.main->body);
    if (!AllOfSet(kept, setId) || (recovery && recovery->md5Matched && recovery->setId != setId)) {
        return Why{.reason = Reason::kParityOfAnotherSet};
    }
    std::optional<FactsRead> facts;
    if (kept.facts) {
        facts = FactsOf(kept.facts->body);
    }
    if (!facts || !SameFiles(facts->diskOrder, *ids)) {
        return Damaged();
    }
    for (const Md5& id : facts->diskOrder) {
        std::optional<InputFile> file = FileOf(id, kept, layout.sliceSize);
        if (!file) {
            return Damaged();
        }
        layout.files.push_back(std::move(*file));
    }
    layout.facts = std::move(facts->facts);
    if (recovery) {
        recovery->found.intact = recovery->md5Matched && recovery->setId == setId &&
                                 recovery->sliceBytes == layout.sliceSize;
    }
    return layout;
}

}  // namespace torvanik::par2
