#include "par2_test_set.h"

#include <cstdio>

#include "platform/par2/gf16.h"
#include "platform/par2/par2_packets.h"

namespace torvanik::par2 {
namespace {

const std::uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const std::uint8_t*>(s.data());
}

}  // namespace

TestSet MakeSet(std::vector<Chunk> chunks, std::uint64_t sliceSize) {
    TestSet set{.chunks = std::move(chunks), .layout = {.sliceSize = sliceSize}};
    for (const Chunk& chunk : set.chunks) {
        ChunkHasher hasher(sliceSize);
        const std::size_t half = chunk.bytes.size() / 2;  // in two pieces, as a stream
        hasher.Update(Bytes(chunk.bytes), half);
        hasher.Update(Bytes(chunk.bytes) + half, chunk.bytes.size() - half);
        set.layout.files.push_back(hasher.Finish(chunk.name));
    }
    set.layout.facts = {.parityDisks = 2,
                        .dataDisks = static_cast<std::uint32_t>(set.chunks.size()),
                        .identity = "A1B2C3",
                        .modifiedSeconds = 1'700'000'000,
                        .accessedSeconds = -5,
                        .modifiedNanoseconds = 123,
                        .accessedNanoseconds = 999'999'999,
                        .infoFile = "INFO\r\nFIL\x01"};
    return set;
}

std::string RecoverySlice(const TestSet& set, std::uint32_t exponent) {
    const std::vector<std::uint16_t> constants = SliceConstants(set.layout);
    std::string recovery(set.layout.sliceSize, '\0');
    for (std::size_t i = 0; i < set.chunks.size(); ++i) {
        std::string slice = set.chunks[i].bytes;
        slice.resize(set.layout.sliceSize, '\0');
        GfMultiplyAdd(GfPower(constants[i], exponent), Bytes(slice),
                      reinterpret_cast<std::uint8_t*>(recovery.data()), slice.size());
    }
    return recovery;
}

std::string VolumeBytes(const TestSet& set, std::uint32_t exponent) {
    const std::string slice = RecoverySlice(set, exponent);
    RecoveryPacket packet(set.layout, exponent);
    packet.Update(Bytes(slice), 5);
    packet.Update(Bytes(slice) + 5, slice.size() - 5);
    return packet.Header() + slice + CriticalPackets(set.layout, "Torvanik test");
}

std::string Hex(const std::string& bytes) {
    std::string hex;
    for (const unsigned char c : bytes) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", c);
        hex += two;
    }
    return hex;
}

std::string Hex(const Md5& md5) {
    return Hex(std::string(md5.begin(), md5.end()));
}

}  // namespace torvanik::par2
