// Built with -mavx2: 32 words at a time, each nibble's products looked up with vpshufb.
// The packs and unpacks work within each 128-bit lane, so the words come back in order.
#include <immintrin.h>

#include "platform/par2/gf16_kernel.h"

namespace torvanik::par2 {
namespace {

__m256i Broadcast(const std::array<std::uint8_t, 16>& table) {
    return _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(table.data())));
}

}  // namespace

void GfMultiplyAddAvx2(std::uint16_t factor, const std::uint8_t* in, std::uint8_t* out,
                       std::size_t bytes) {
    const GfNibbleTables tables = NibbleTablesOf(factor);
    __m256i low[4];
    __m256i high[4];
    for (int k = 0; k < 4; ++k) {
        low[k] = Broadcast(tables.low[k]);
        high[k] = Broadcast(tables.high[k]);
    }
    const __m256i byteMask = _mm256_set1_epi16(0x00FF);
    const __m256i nibbleMask = _mm256_set1_epi8(0x0F);
    std::size_t i = 0;
    for (; i + 64 <= bytes; i += 64) {
        auto* target = reinterpret_cast<__m256i*>(out + i);
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i + 32));
        const __m256i lo =
            _mm256_packus_epi16(_mm256_and_si256(a, byteMask), _mm256_and_si256(b, byteMask));
        const __m256i hi = _mm256_packus_epi16(_mm256_srli_epi16(a, 8), _mm256_srli_epi16(b, 8));
        const __m256i n[4] = {_mm256_and_si256(lo, nibbleMask),
                              _mm256_and_si256(_mm256_srli_epi16(lo, 4), nibbleMask),
                              _mm256_and_si256(hi, nibbleMask),
                              _mm256_and_si256(_mm256_srli_epi16(hi, 4), nibbleMask)};
        __m256i productLow = _mm256_setzero_si256();
        __m256i productHigh = _mm256_setzero_si256();
        for (int k = 0; k < 4; ++k) {
            productLow = _mm256_xor_si256(productLow, _mm256_shuffle_epi8(low[k], n[k]));
            productHigh = _mm256_xor_si256(productHigh, _mm256_shuffle_epi8(high[k], n[k]));
        }
        const __m256i wordsA = _mm256_unpacklo_epi8(productLow, productHigh);
        const __m256i wordsB = _mm256_unpackhi_epi8(productLow, productHigh);
        _mm256_storeu_si256(target, _mm256_xor_si256(_mm256_loadu_si256(target), wordsA));
        _mm256_storeu_si256(target + 1, _mm256_xor_si256(_mm256_loadu_si256(target + 1), wordsB));
    }
    GfMultiplyAddNibbles(tables, in + i, out + i, bytes - i);
}

}  // namespace torvanik::par2
