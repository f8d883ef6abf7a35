#pragma once

#include <nettle/md5.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/par2/par2_layout.h"

// The pieces of the PAR2 2.0 format that the writer and the reader share.
namespace torvanik::par2 {

inline constexpr std::string_view kMagic{"PAR2\0PKT", 8};
inline constexpr std::string_view kMainType{"PAR 2.0\0Main\0\0\0\0", 16};
inline constexpr std::string_view kFileDescType{"PAR 2.0\0FileDesc", 16};
inline constexpr std::string_view kChecksumType{"PAR 2.0\0IFSC\0\0\0\0", 16};
inline constexpr std::string_view kCreatorType{"PAR 2.0\0Creator\0", 16};
inline constexpr std::string_view kRecoveryType{"PAR 2.0\0RecvSlic", 16};
inline constexpr std::string_view kSetFactsType{"Torvanik\0Paritet", 16};

inline constexpr std::size_t kHeaderBytes = 64;         // magic, length, MD5, set ID, type
inline constexpr std::size_t kHashedFrom = 32;          // a packet's MD5 covers the rest
inline constexpr std::size_t kSetFactsFixedBytes = 56;  // the set facts before INFO.FIL
inline constexpr std::uint32_t kSetFactsVersion = 1;

class Md5Stream {
  public:
    Md5Stream() { md5_init(&context_); }
    void Update(const void* data, std::size_t size) {
        md5_update(&context_, size, static_cast<const std::uint8_t*>(data));
    }
    void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
    // The digest of what went in so far; the stream itself goes on unchanged.
    Md5 Digest() const {
        md5_ctx copy = context_;
        Md5 digest{};
        md5_digest(&copy, digest.size(), digest.data());
        return digest;
    }

  private:
    md5_ctx context_{};
};

Md5 Md5Of(std::string_view bytes);

inline std::string_view AsBytes(const Md5& md5) {
    return {reinterpret_cast<const char*>(md5.data()), md5.size()};
}
void PutU32(std::string& out, std::uint32_t value);
void PutU64(std::string& out, std::uint64_t value);
std::uint32_t GetU32(const std::uint8_t* at);
std::uint64_t GetU64(const std::uint8_t* at);
inline std::size_t PaddedTo4(std::size_t bytes) {
    return (bytes + 3) / 4 * 4;
}

// The disk indexes in the Main packet's order: by File ID, read as 16-byte little-endian
// numbers, smallest first.
std::vector<int> MainOrder(const std::vector<Md5>& fileIds);
std::string MainBody(const SetLayout& layout);
// A whole packet: header with length and MD5, then the body.
std::string Packet(const Md5& setId, std::string_view type, std::string_view body);

}  // namespace torvanik::par2
