#include "platform/par2/par2_layout.h"

#include <zlib.h>

#include <algorithm>

#include "platform/par2/gf16.h"
#include "platform/par2/par2_format.h"

namespace torvanik::par2 {

Md5 FileIdOf(const InputFile& file) {
    std::string bytes(AsBytes(file.hash16k));
    PutU64(bytes, file.length);
    bytes += file.name;
    return Md5Of(bytes);
}

Md5 RecoverySetIdOf(const SetLayout& layout) {
    return Md5Of(MainBody(layout));
}

std::vector<std::uint16_t> SliceConstants(const SetLayout& layout) {
    std::vector<Md5> ids;
    for (const InputFile& file : layout.files) {
        ids.push_back(FileIdOf(file));
    }
    std::vector<std::uint16_t> constants(ids.size());
    std::uint32_t n = 0;
    for (const int disk : MainOrder(ids)) {
        do {
            ++n;
        } while (n % 3 == 0 || n % 5 == 0 || n % 17 == 0 || n % 257 == 0);
        constants[disk] = GfPower(2, n);
    }
    return constants;
}

// A chunk is never longer than its slice: the whole chunk's MD5 is the slice's as it
// stands before the zero padding, so one pass over the bytes gives both.
struct ChunkHasher::State {
    std::uint64_t sliceSize = 0;
    std::uint64_t length = 0;
    Md5Stream first16k, slice;
    uLong crc = crc32(0, nullptr, 0);

    void AddToSlice(const std::uint8_t* data, std::size_t size) {
        slice.Update(data, size);
        crc = crc32_z(crc, data, size);
    }
};

ChunkHasher::ChunkHasher(std::uint64_t sliceSize) : state_(std::make_unique<State>()) {
    state_->sliceSize = sliceSize;
}
ChunkHasher::ChunkHasher(ChunkHasher&&) noexcept = default;
ChunkHasher& ChunkHasher::operator=(ChunkHasher&&) noexcept = default;
ChunkHasher::~ChunkHasher() = default;

void ChunkHasher::Update(const std::uint8_t* data, std::size_t size) {
    State& s = *state_;
    constexpr std::uint64_t k16k = 16384;
    if (s.length < k16k) {
        s.first16k.Update(data,
                          static_cast<std::size_t>(std::min<std::uint64_t>(size, k16k - s.length)));
    }
    s.AddToSlice(data, size);
    s.length += size;
}

InputFile ChunkHasher::Finish(std::string name) {
    State& s = *state_;
    const Md5 whole = s.slice.Digest();
    static constexpr std::uint8_t kZeros[4096] = {};
    for (std::uint64_t padded = s.length; padded < s.sliceSize;) {
        const auto size =
            static_cast<std::size_t>(std::min<std::uint64_t>(sizeof kZeros, s.sliceSize - padded));
        s.AddToSlice(kZeros, size);
        padded += size;
    }
    return {.name = std::move(name),
            .length = s.length,
            .hash = whole,
            .hash16k = s.first16k.Digest(),
            .sliceHash = s.slice.Digest(),
            .sliceCrc = static_cast<std::uint32_t>(s.crc)};
}

}  // namespace torvanik::par2
