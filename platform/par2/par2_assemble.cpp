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
std::optional<InputFile> FileOf(const std::string& desc, const std::vector<KeptPacket>& sums,
                                std::uint64_t sliceSize) {
    if (desc.size() < kFileDescFixedBytes || desc.size() % 4 != 0) {
        return std::nullopt;
    }
    const Md5 id = Md5From(desc, 0);
    const auto sum = std::find_if(sums.begin(), sums.end(), [&](const KeptPacket& packet) {
        return Md5From(packet.body, 0) == id;
    });
    if (sum == sums.end() || sum->body.size() != kOneSliceChecksumBytes) {
        return std::nullopt;
    }
    const std::string name = desc.substr(kFileDescFixedBytes);
    InputFile file{.name = name.substr(0, name.find('\0')),
                   .length = GetU64(Bytes(desc) + 48),
                   .hash = Md5From(desc, 16),
                   .hash16k = Md5From(desc, 32),
                   .sliceHash = Md5From(sum->body, 16),
                   .sliceCrc = GetU32(Bytes(sum->body) + 32)};
    if (file.length == 0 || file.length > sliceSize || FileIdOf(file) != id) {
        return std::nullopt;
    }
    return file;
}

std::optional<SetFacts> FactsOf(const std::string& body) {
    if (body.size() < kSetFactsFixedBytes || GetU32(Bytes(body)) != kSetFactsVersion) {
        return std::nullopt;
    }
    const std::uint8_t* at = Bytes(body);
    const std::uint32_t infoLength = GetU32(at + 12);
    if (PaddedTo4(infoLength) != body.size() - kSetFactsFixedBytes) {
        return std::nullopt;
    }
    const std::string identity = body.substr(16, 8);
    return SetFacts{.parityDisks = GetU32(at + 4),
                    .dataDisks = GetU32(at + 8),
                    .identity = identity.substr(0, identity.find('\0')),
                    .modifiedSeconds = static_cast<std::int64_t>(GetU64(at + 24)),
                    .accessedSeconds = static_cast<std::int64_t>(GetU64(at + 40)),
                    .modifiedNanoseconds = GetU32(at + 32),
                    .accessedNanoseconds = GetU32(at + 48),
                    .infoFile = body.substr(kSetFactsFixedBytes, infoLength)};
}

bool AllOfSet(const KeptPackets& kept, const Md5& setId) {
    const auto ofSet = [&](const KeptPacket& packet) { return packet.setId == setId; };
    return ofSet(*kept.main) && (!kept.facts || ofSet(*kept.facts)) &&
           std::all_of(kept.fileDescs.begin(), kept.fileDescs.end(), ofSet) &&
           std::all_of(kept.checksums.begin(), kept.checksums.end(), ofSet) &&
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
    if (!kept.facts || kept.fileDescs.size() != ids->size()) {
        return Damaged();
    }
    for (const KeptPacket& desc : kept.fileDescs) {
        std::optional<InputFile> file = FileOf(desc.body, kept.checksums, layout.sliceSize);
        if (!file || std::find(ids->begin(), ids->end(), FileIdOf(*file)) == ids->end()) {
            return Damaged();
        }
        layout.files.push_back(std::move(*file));
    }
    std::optional<SetFacts> facts = FactsOf(kept.facts->body);
    if (!facts || facts->dataDisks != layout.files.size()) {
        return Damaged();
    }
    layout.facts = std::move(*facts);
    if (recovery) {
        recovery->found.intact = recovery->md5Matched && recovery->setId == setId &&
                                 recovery->sliceBytes == layout.sliceSize;
    }
    return layout;
}

}  // namespace torvanik::par2
