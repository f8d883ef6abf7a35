#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The XXH128 digest of bytes as they pass, from the xxHash library: what a disk's file is
// compared with when it is read back, and what its disk's check file says of it.
namespace torvanik {

struct Digest128 {
    std::uint64_t high = 0;
    std::uint64_t low = 0;

    bool operator==(const Digest128&) const = default;
};

class ByteDigest {
  public:
    ByteDigest();
    ~ByteDigest();
    ByteDigest(const ByteDigest&) = delete;
    ByteDigest& operator=(const ByteDigest&) = delete;

    void Reset();
    void Update(const void* bytes, std::size_t size);
    Digest128 Value() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// The digest of one stretch of bytes.
Digest128 DigestOf(const void* bytes, std::size_t size);

}  // namespace torvanik
