#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What a PAR2 recovery set over a disk set's chunk files says: one input file per data
// disk, each one slice, and the facts the join needs that PAR2 has no place for.
namespace torvanik::par2 {

using Md5 = std::array<std::uint8_t, 16>;

struct InputFile {       // one chunk: one slice
    std::string name{};  // as on the disk
    std::uint64_t length = 0;
    Md5 hash{}, hash16k{};       // whole file; its first 16 KiB
    Md5 sliceHash{};             // the slice, zero-padded to the slice size
    std::uint32_t sliceCrc = 0;  // CRC32 of the same

    bool operator==(const InputFile&) const = default;
};

struct SetFacts {                                  // our own packet
    std::uint32_t parityDisks = 0, dataDisks = 0;  // dataDisks: written as the count of files
    std::string identity{};                        // six hex digits
    std::int64_t modifiedSeconds = 0, accessedSeconds = 0;
    std::uint32_t modifiedNanoseconds = 0, accessedNanoseconds = 0;
    std::string infoFile{};  // INFO.FIL's bytes

    bool operator==(const SetFacts&) const = default;
};

struct SetLayout {
    std::uint64_t sliceSize = 0;     // a multiple of 4
    std::vector<InputFile> files{};  // files[i] is disk i+1's chunk, in disk order
    SetFacts facts{};

    bool operator==(const SetLayout&) const = default;
};

Md5 FileIdOf(const InputFile& file);
Md5 RecoverySetIdOf(const SetLayout& layout);
// The constant that multiplies each disk's slice, indexed by disk (0-based, disk order).
std::vector<std::uint16_t> SliceConstants(const SetLayout& layout);

// Sequential bytes of one chunk in, at most the slice size of them, its InputFile hashes
// out (the padding to the slice size done by Finish).
class ChunkHasher {
  public:
    explicit ChunkHasher(std::uint64_t sliceSize);
    ChunkHasher(ChunkHasher&&) noexcept;
    ChunkHasher& operator=(ChunkHasher&&) noexcept;
    ~ChunkHasher();

    void Update(const std::uint8_t* data, std::size_t size);
    InputFile Finish(std::string name);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace torvanik::par2
