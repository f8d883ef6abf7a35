#include "platform/par2/par2_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/par2/par2_packets.h"
#include "platform/par2/par2_reader_state.h"

namespace torvanik::par2 {
namespace {

// No packet but a recovery packet is longer in a set of ours; all that is kept of a file
// is bounded, so that a hostile length costs no more memory than this.
constexpr std::uint64_t kLongestPacket = 1 << 20;
constexpr std::uint64_t kMostKept = 16 << 20;

bool IsType(const std::uint8_t* header, std::string_view type) {
    return std::memcmp(header + 48, type.data(), type.size()) == 0;
}

Md5 Md5At(const std::uint8_t* at) {
    Md5 md5{};
    std::memcpy(md5.data(), at, md5.size());
    return md5;
}

// Keeps one packet of a kind: the same again is nothing new; another is a conflict.
void KeepOnce(std::optional<KeptPacket>& slot, KeptPacket packet, bool& conflicting) {
    if (!slot) {
        slot = std::move(packet);
    } else if (slot->setId != packet.setId || slot->body != packet.body) {
        conflicting = true;
    }
}

// Keeps one packet for each file ID, the first 16 bytes of its body.
void KeepPerFile(std::map<Md5, KeptPacket>& kept, KeptPacket packet, bool& conflicting) {
    const Md5 id = Md5At(reinterpret_cast<const std::uint8_t*>(packet.body.data()));
    const auto [at, added] = kept.try_emplace(id, std::move(packet));
    if (!added) {
        conflicting |= at->second.setId != packet.setId || at->second.body != packet.body;
    }
}

}  // namespace

struct PacketReader::State {
    std::vector<std::uint8_t> pending;  // bytes not yet taken, from `head` on
    std::size_t head = 0;
    std::uint64_t offset = 0;  // in the file, of pending[head]
    std::uint64_t recoveryLeft = 0;
    Md5 recoveryMd5{};
    Md5Stream recoveryStream;
    std::optional<SeenRecovery> current, recovery;
    KeptPackets kept;
    bool finished = false;

    std::size_t Size() const { return pending.size() - head; }
    const std::uint8_t* At() const { return pending.data() + head; }
    void Take(std::size_t bytes) {
        head += bytes;
        offset += bytes;
    }

    void StreamRecovery(const std::uint8_t* data, std::size_t size) {
        recoveryStream.Update(data, size);
        recoveryLeft -= size;
        if (recoveryLeft == 0) {
            current->md5Matched = recoveryStream.Digest() == recoveryMd5;
            EndRecovery();
        }
    }
    void EndRecovery() {
        if (!recovery || (!recovery->md5Matched && current->md5Matched)) {
            recovery = current;
        }
        current.reset();
    }
    void StartRecovery(const std::uint8_t* header, std::uint64_t length);
    void Keep(const std::uint8_t* packet, std::size_t length);
    bool TakeOnePacket();
    void TakePackets();
};

void PacketReader::State::StartRecovery(const std::uint8_t* header, std::uint64_t length) {
    recoveryMd5 = Md5At(header + 16);
    recoveryStream = Md5Stream();
    recoveryStream.Update(header + kHashedFrom, kRecoveryHeaderBytes - kHashedFrom);
    current = SeenRecovery{.found = {.exponent = GetU32(header + kHeaderBytes),
                                     .sliceOffset = offset + kRecoveryHeaderBytes},
                           .setId = Md5At(header + 32),
                           .sliceBytes = length - kRecoveryHeaderBytes};
    recoveryLeft = current->sliceBytes;
    Take(kRecoveryHeaderBytes);
    if (recoveryLeft == 0) {
        StreamRecovery(nullptr, 0);
    }
}

void PacketReader::State::Keep(const std::uint8_t* packet, std::size_t length) {
    KeptPacket kept{.setId = Md5At(packet + 32),
                    .body = std::string(reinterpret_cast<const char*>(packet) + kHeaderBytes,
                                        length - kHeaderBytes)};
    KeptPackets& k = this->kept;
    k.bytes += length;
    if (IsType(packet, kMainType)) {
        KeepOnce(k.main, std::move(kept), k.conflicting);
    } else if (IsType(packet, kSetFactsType)) {
        KeepOnce(k.facts, std::move(kept), k.conflicting);
    } else if (IsType(packet, kFileDescType) && kept.body.size() >= 16) {
        KeepPerFile(k.fileDescs, std::move(kept), k.conflicting);
    } else if (IsType(packet, kChecksumType) && kept.body.size() >= 16) {
        KeepPerFile(k.checksums, std::move(kept), k.conflicting);
    } else {
        k.otherSetIds.push_back(kept.setId);
    }
}

// Takes what stands first in the pending bytes: garbage up to a packet's magic, a packet
// whose header does not hold (its magic then counts as garbage), a whole packet, or a
// recovery packet's header. False when more bytes are needed.
bool PacketReader::State::TakeOnePacket() {
    const std::uint8_t* begin = At();
    const std::uint8_t* end = begin + Size();
    const std::uint8_t* magic = std::search(begin, end, kMagic.begin(), kMagic.end());
    if (magic == end) {
        Take(Size() - std::min(Size(), kMagic.size() - 1));
        return false;
    }
    Take(static_cast<std::size_t>(magic - begin));
    const bool recovery = Size() >= kHeaderBytes && IsType(magic, kRecoveryType);
    if (Size() < (recovery ? kRecoveryHeaderBytes : kHeaderBytes)) {
        return false;
    }
    const std::uint64_t length = GetU64(magic + 8);
    const bool plausible =
        length % 4 == 0 && (recovery ? length >= kRecoveryHeaderBytes
                                     : length >= kHeaderBytes && length <= kLongestPacket &&
                                           kept.bytes + length <= kMostKept);
    if (!plausible) {
        Take(1);
        return true;
    }
    if (recovery) {
        StartRecovery(magic, length);
        return true;
    }
    if (Size() < length) {
        return false;
    }
    const Md5 md5 = Md5Of({reinterpret_cast<const char*>(magic) + kHashedFrom,
                           static_cast<std::size_t>(length) - kHashedFrom});
    if (md5 != Md5At(magic + 16)) {
        Take(1);
        return true;
    }
    Keep(magic, static_cast<std::size_t>(length));
    Take(static_cast<std::size_t>(length));
    return true;
}

void PacketReader::State::TakePackets() {
    while (Size() > 0) {
        if (current) {
            const auto size =
                static_cast<std::size_t>(std::min<std::uint64_t>(Size(), recoveryLeft));
            const std::uint8_t* at = At();
            Take(size);
            StreamRecovery(at, size);
        } else if (!TakeOnePacket()) {
            break;
        }
    }
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(head));
    head = 0;
}

PacketReader::PacketReader() : state_(std::make_unique<State>()) {}
PacketReader::PacketReader(PacketReader&&) noexcept = default;
PacketReader& PacketReader::operator=(PacketReader&&) noexcept = default;
PacketReader::~PacketReader() = default;

void PacketReader::Feed(const std::uint8_t* data, std::size_t size) {
    State& s = *state_;
    if (s.current && s.Size() == 0) {
        const auto streamed =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, s.recoveryLeft));
        s.offset += streamed;
        s.StreamRecovery(data, streamed);
        data += streamed;
        size -= streamed;
    }
    s.pending.insert(s.pending.end(), data, data + size);
    s.TakePackets();
}

Result<SetLayout> PacketReader::Finish() {
    State& s = *state_;
    if (s.current) {
        s.EndRecovery();
    }
    s.finished = true;
    return AssembleLayout(s.kept, s.recovery);
}

std::optional<FoundRecovery> PacketReader::recovery() const {
    const State& s = *state_;
    if (!s.finished || !s.recovery) {
        return std::nullopt;
    }
    return s.recovery->found;
}

}  // namespace torvanik::par2
