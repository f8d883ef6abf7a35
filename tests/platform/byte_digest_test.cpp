#include <gtest/gtest.h>

#include <vector>

#include "platform/byte_digest.h"
#include "platform/xxh128_kernel.h"
#include "support/temp_folder.h"

namespace torvanik::testing {
namespace {

// The digest of `bytes` fed to `kernel` in pieces of `piece` bytes.
Digest128 InPieces(const Xxh128Kernel& kernel, const std::vector<char>& bytes, std::size_t piece) {
    void* state = kernel.create();
    kernel.reset(state);
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        kernel.update(state, bytes.data() + at, std::min(piece, bytes.size() - at));
    }
    const Digest128 digest = kernel.digest(state);
    kernel.destroy(state);
    return digest;
}

// Lengths around the library's stripes (64 bytes), blocks (1 KiB) and internal buffer
// (256 bytes), and one past a megabyte, in pieces that cut across all of them.
TEST(ByteDigestTest, WideBuildGivesThePortableDigestForEveryLength) {
    if (!__builtin_cpu_supports("avx2")) {
        GTEST_SKIP() << "this processor has no AVX2";
    }
    for (const std::size_t length : {0, 1, 16, 17, 128, 129, 240, 241, 1024, 65'543, 1'048'579}) {
        const std::vector<char> bytes = PatternBytes(length, 5);
        for (const std::size_t piece : {1, 7, 255, 4096, 262'144}) {
            EXPECT_EQ(InPieces(Avx2Xxh128(), bytes, piece),
                      InPieces(PortableXxh128(), bytes, piece))
                << length << " bytes in pieces of " << piece;
        }
    }
}

TEST(ByteDigestTest, GivesTheXxh128OfTheBytesWhateverThePieces) {
    const std::vector<char> bytes = PatternBytes(300'001, 9);
    ByteDigest digest;
    digest.Update(bytes.data(), 1);
    digest.Update(bytes.data() + 1, bytes.size() - 1);
    EXPECT_EQ(digest.Value(), DigestOf(bytes.data(), bytes.size()));
    // What `xxhsum -H2` prints for an empty file: the high half first.
    EXPECT_EQ(DigestOf("", 0), (Digest128{0x99aa06d3014798d8, 0x6001c324468d497f}));
}

}  // namespace
}  // namespace torvanik::testing
