#include "platform/par2/gf16.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "platform/par2/gf16_kernel.h"

namespace torvanik::par2 {
namespace {

constexpr std::uint32_t kGenerator = 0x1100B;
constexpr std::uint32_t kOrder = 65535;  // of the multiplicative group

// exp[n] = 2^n for n in 0..2*kOrder, so that a sum of two logarithms needs no reduction;
// log[a] for a != 0.
struct LogTables {
    std::array<std::uint16_t, 2 * kOrder + 1> exp{};
    std::array<std::uint16_t, kOrder + 1> log{};

    LogTables() {
        std::uint32_t value = 1;
        for (std::uint32_t n = 0; n < kOrder; ++n) {
            exp[n] = static_cast<std::uint16_t>(value);
            log[value] = static_cast<std::uint16_t>(n);
            value <<= 1;
            if (value & 0x10000) {
                value ^= kGenerator;
            }
        }
        for (std::uint32_t n = kOrder; n < exp.size(); ++n) {
            exp[n] = exp[n - kOrder];
        }
    }
};

const LogTables& Tables() {
    static const auto tables = std::make_unique<LogTables>();
    return *tables;
}

void Xor(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes) {
    std::size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::memcpy(&a, in + i, 8);
        std::memcpy(&b, out + i, 8);
        b ^= a;
        std::memcpy(out + i, &b, 8);
    }
    for (; i < bytes; ++i) {
        out[i] ^= in[i];
    }
}

GfRegionKernel FastestKernel() {
    static const GfRegionKernel kernel = GfKernelsOfThisProcessor().back();
    return kernel;
}

}  // namespace

std::uint16_t GfMultiply(std::uint16_t a, std::uint16_t b) {
    if (a == 0 || b == 0) {
        return 0;
    }
    const LogTables& t = Tables();
    return t.exp[t.log[a] + t.log[b]];
}

std::uint16_t GfInverse(std::uint16_t a) {
    const LogTables& t = Tables();
    return t.exp[(kOrder - t.log[a]) % kOrder];
}

std::uint16_t GfPower(std::uint16_t base, std::uint32_t exponent) {
    if (exponent == 0) {
        return 1;
    }
    if (base == 0) {
        return 0;
    }
    const LogTables& t = Tables();
    return t.exp[static_cast<std::uint64_t>(t.log[base]) * exponent % kOrder];
}

GfNibbleTables NibbleTablesOf(std::uint16_t factor) {
    GfNibbleTables tables;
    for (unsigned k = 0; k < 4; ++k) {
        for (unsigned n = 0; n < 16; ++n) {
            const std::uint16_t product =
                GfMultiply(factor, static_cast<std::uint16_t>(n << 4 * k));
            tables.low[k][n] = static_cast<std::uint8_t>(product);
            tables.high[k][n] = static_cast<std::uint8_t>(product >> 8);
        }
    }
    return tables;
}

void GfMultiplyAddNibbles(const GfNibbleTables& tables, const std::uint8_t* in, std::uint8_t* out,
                          std::size_t bytes) {
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        const unsigned lo = in[i];
        const unsigned hi = in[i + 1];
        out[i] ^= tables.low[0][lo & 15] ^ tables.low[1][lo >> 4] ^ tables.low[2][hi & 15] ^
                  tables.low[3][hi >> 4];
        out[i + 1] ^= tables.high[0][lo & 15] ^ tables.high[1][lo >> 4] ^ tables.high[2][hi & 15] ^
                      tables.high[3][hi >> 4];
    }
}

void GfMultiplyAddTable(std::uint16_t factor, const std::uint8_t* in, std::uint8_t* out,
                        std::size_t bytes) {
    std::array<std::uint16_t, 256> low{};
    std::array<std::uint16_t, 256> high{};
    for (unsigned b = 0; b < 256; ++b) {
        low[b] = GfMultiply(factor, static_cast<std::uint16_t>(b));
        high[b] = GfMultiply(factor, static_cast<std::uint16_t>(b << 8));
    }
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        const std::uint16_t product = low[in[i]] ^ high[in[i + 1]];
        out[i] ^= static_cast<std::uint8_t>(product);
        out[i + 1] ^= static_cast<std::uint8_t>(product >> 8);
    }
}

std::vector<GfRegionKernel> GfKernelsOfThisProcessor() {
    std::vector<GfRegionKernel> kernels = {&GfMultiplyAddTable};
#ifdef TORVANIK_GF16_X86
    if (__builtin_cpu_supports("ssse3")) {
        kernels.push_back(&GfMultiplyAddSsse3);
    }
    if (__builtin_cpu_supports("avx2")) {
        kernels.push_back(&GfMultiplyAddAvx2);
    }
#endif
    return kernels;
}

void GfMultiplyAdd(std::uint16_t factor, const std::uint8_t* in, std::uint8_t* out,
                   std::size_t bytes) {
    if (factor == 0) {
        return;
    }
    if (factor == 1) {
        Xor(in, out, bytes);
        return;
    }
    FastestKernel()(factor, in, out, bytes);
}

void GfMultiply(std::uint16_t factor, std::uint8_t* data, std::size_t bytes) {
    if (factor == 1) {
        return;
    }
    std::array<std::uint8_t, 4096> copy{};
    for (std::size_t done = 0; done < bytes; done += copy.size()) {
        const std::size_t size = std::min(copy.size(), bytes - done);
        std::memcpy(copy.data(), data + done, size);
        std::memset(data + done, 0, size);
        GfMultiplyAdd(factor, copy.data(), data + done, size);
    }
}

}  // namespace torvanik::par2
