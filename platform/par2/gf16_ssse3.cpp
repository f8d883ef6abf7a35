// Built with -mssse3: 16 words at a time, each nibble's products looked up with pshufb.
#include <immintrin.h>

#include "platform/par2/gf16_kernel.h"

namespace torvanik::par2 {

void GfMultiplyAddSsse3(std::uint16_t factor, const std::uint8_t* in, std::uint8_t* out,
                        std::size_t bytes) {
    const GfNibbleTables tables = NibbleTablesOf(factor);
    __m128i low[4];
    __m128i high[4];
    for (int k = 0; k < 4; ++k) {
        low[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(tables.low[k].data()));
        high[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(tables.high[k].data()));
    }
    const __m128i byteMask = _mm_set1_epi16(0x00FF);
    const __m128i nibbleMask = _mm_set1_epi8(0x0F);
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        auto* target = reinterpret_cast<__m128i*>(out + i);
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 16));
        // The low bytes of the 16 words, then their high bytes, in word order.
        const __m128i lo = _mm_packus_epi16(_mm_and_si128(a, byteMask), _mm_and_si128(b, byteMask));
        const __m128i hi = _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8));
        const __m128i n[4] = {
            _mm_and_si128(lo, nibbleMask), _mm_and_si128(_mm_srli_epi16(lo, 4), nibbleMask),
            _mm_and_si128(hi, nibbleMask), _mm_and_si128(_mm_srli_epi16(hi, 4), nibbleMask)};
        __m128i productLow = _mm_setzero_si128();
        __m128i productHigh = _mm_setzero_si128();
        for (int k = 0; k < 4; ++k) {
            productLow = _mm_xor_si128(productLow, _mm_shuffle_epi8(low[k], n[k]));
            productHigh = _mm_xor_si128(productHigh, _mm_shuffle_epi8(high[k], n[k]));
        }
        const __m128i wordsA = _mm_unpacklo_epi8(productLow, productHigh);
        const __m128i wordsB = _mm_unpackhi_epi8(productLow, productHigh);
        _mm_storeu_si128(target, _mm_xor_si128(_mm_loadu_si128(target), wordsA));
        _mm_storeu_si128(target + 1, _mm_xor_si128(_mm_loadu_si128(target + 1), wordsB));
    }
    GfMultiplyAddNibbles(tables, in + i, out + i, bytes - i);
}

}  // namespace torvanik::par2
