#include "platform/par2/par2_packets.h"

#include "platform/par2/par2_format.h"

namespace torvanik::par2 {
namespace {

// The longest creator text ParityOverheadBytes allows for, and INFO.FIL's longest.
constexpr std::size_t kCreatorBytesBound = 64;
constexpr std::size_t kInfoFileBytesBound = 120;

void PutPadded(std::string& out, std::string_view bytes) {
    out += bytes;
    out.append(PaddedTo4(bytes.size()) - bytes.size(), '\0');
}

std::string FileDescBody(const InputFile& file) {
    std::string body(AsBytes(FileIdOf(file)));
    body += AsBytes(file.hash);
    body += AsBytes(file.hash16k);
    PutU64(body, file.length);
    PutPadded(body, file.name);
    return body;
}

std::string ChecksumBody(const InputFile& file) {
    std::string body(AsBytes(FileIdOf(file)));
    body += AsBytes(file.sliceHash);
    PutU32(body, file.sliceCrc);
    return body;
}

void PutTime(std::string& out, std::int64_t seconds, std::uint32_t nanoseconds) {
    PutU64(out, static_cast<std::uint64_t>(seconds));
    PutU32(out, nanoseconds);
    PutU32(out, 0);
}

// Version, parity disks, data disks, INFO.FIL's length, the identity in 8 bytes, the
// source's times (seconds, nanoseconds, 4 bytes of 0), INFO.FIL padded to 4, then the
// File IDs in disk order, which PAR2's own packets do not keep.
std::string SetFactsBody(const SetLayout& layout) {
    const SetFacts& facts = layout.facts;
    std::string body;
    PutU32(body, kSetFactsVersion);
    PutU32(body, facts.parityDisks);
    PutU32(body, static_cast<std::uint32_t>(layout.files.size()));
    PutU32(body, static_cast<std::uint32_t>(facts.infoFile.size()));
    std::string identity = facts.identity.substr(0, 8);
    identity.resize(8, '\0');
    body += identity;
    PutTime(body, facts.modifiedSeconds, facts.modifiedNanoseconds);
    PutTime(body, facts.accessedSeconds, facts.accessedNanoseconds);
    PutPadded(body, facts.infoFile);
    for (const InputFile& file : layout.files) {
        body += AsBytes(FileIdOf(file));
    }
    return body;
}

}  // namespace

std::string CriticalPackets(const SetLayout& layout, std::string_view creator) {
    const std::string main = MainBody(layout);
    const Md5 setId = Md5Of(main);
    std::string packets = Packet(setId, kMainType, main);
    for (const InputFile& file : layout.files) {
        packets += Packet(setId, kFileDescType, FileDescBody(file));
    }
    for (const InputFile& file : layout.files) {
        packets += Packet(setId, kChecksumType, ChecksumBody(file));
    }
    std::string creatorBody;
    PutPadded(creatorBody, creator);
    packets += Packet(setId, kCreatorType, creatorBody);
    packets += Packet(setId, kSetFactsType, SetFactsBody(layout));
    return packets;
}

struct RecoveryPacket::State {
    Md5 setId{};
    std::uint64_t sliceSize = 0;
    std::uint32_t exponent = 0;
    Md5Stream md5;
};

RecoveryPacket::RecoveryPacket(const SetLayout& layout, std::uint32_t exponent)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.setId = RecoverySetIdOf(layout);
    s.sliceSize = layout.sliceSize;
    s.exponent = exponent;
    s.md5.Update(AsBytes(s.setId));
    s.md5.Update(kRecoveryType);
    std::string exponentBytes;
    PutU32(exponentBytes, exponent);
    s.md5.Update(exponentBytes);
}
RecoveryPacket::RecoveryPacket(RecoveryPacket&&) noexcept = default;
RecoveryPacket& RecoveryPacket::operator=(RecoveryPacket&&) noexcept = default;
RecoveryPacket::~RecoveryPacket() = default;

void RecoveryPacket::Update(const std::uint8_t* data, std::size_t size) {
    state_->md5.Update(data, size);
}

std::string RecoveryPacket::Header() const {
    const State& s = *state_;
    std::string header(kMagic);
    PutU64(header, kRecoveryHeaderBytes + s.sliceSize);
    header += AsBytes(s.md5.Digest());
    header += AsBytes(s.setId);
    header += kRecoveryType;
    PutU32(header, s.exponent);
    return header;
}

std::uint64_t ParityOverheadBytes(std::size_t files, std::size_t nameBytes) {
    const std::uint64_t main = kHeaderBytes + 12 + 16 * files;
    // A File Description, an IFSC, and the file's ID in the set facts' disk order.
    const std::uint64_t perFile =
        (kHeaderBytes + 56 + PaddedTo4(nameBytes)) + (kHeaderBytes + 36) + 16;
    const std::uint64_t creator = kHeaderBytes + kCreatorBytesBound;
    const std::uint64_t facts = kHeaderBytes + kSetFactsFixedBytes + kInfoFileBytesBound;
    return main + perFile * files + creator + facts + kRecoveryHeaderBytes;
}

}  // namespace torvanik::par2
