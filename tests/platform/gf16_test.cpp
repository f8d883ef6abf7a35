#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/par2/gf16.h"
#include "platform/par2/gf16_kernel.h"

namespace torvanik::par2 {
namespace {

struct ProductCase {
    std::uint16_t a, b, product;
};

// Worked by hand from the generator x^16 + x^12 + x^3 + x + 1.
TEST(Gf16Test, MultipliesInTheFieldOfTheGenerator) {
    const ProductCase cases[] = {
        {0, 0x1234, 0},         {1, 0xBEEF, 0xBEEF}, {3, 3, 5},  // (x + 1)^2 = x^2 + 1
        {2, 0x8000, 0x100B},                                     // x^16 reduced
        {0x100, 0x100, 0x100B},                                  // x^8 * x^8
        {4, 0x8000, 0x2016},                                     // x^17 = x^13 + x^4 + x^2 + x
        {0x8805, 2, 1},                                          // x^-1 = x^15 + x^11 + x^2 + 1
    };
    for (const ProductCase& c : cases) {
        EXPECT_EQ(GfMultiply(c.a, c.b), c.product) << c.a << " * " << c.b;
        EXPECT_EQ(GfMultiply(c.b, c.a), c.product) << c.b << " * " << c.a;
    }
    EXPECT_EQ(GfInverse(2), 0x8805);
    EXPECT_EQ(GfPower(2, 16), 0x100B);
    EXPECT_EQ(GfPower(2, 65535), 1);  // 2 generates the whole group
    EXPECT_EQ(GfPower(0, 0), 1);
    EXPECT_EQ(GfPower(0, 7), 0);
    EXPECT_EQ(GfPower(0x1234, 3), GfMultiply(0x1234, GfMultiply(0x1234, 0x1234)));
}

TEST(Gf16Test, EveryElementTimesItsInverseIsOne) {
    for (std::uint32_t x = 1; x <= 0xFFFF; ++x) {
        ASSERT_EQ(
            GfMultiply(static_cast<std::uint16_t>(x), GfInverse(static_cast<std::uint16_t>(x))), 1)
            << x;
    }
}

// Each kernel, and the dispatching call, against the product of every word by itself,
// over lengths that leave every kind of tail behind the vector loops.
TEST(Gf16Test, EveryRegionKernelAddsTheWordByWordProduct) {
    std::mt19937 random(31);
    std::vector<GfRegionKernel> kernels = GfKernelsOfThisProcessor();
    kernels.push_back(&GfMultiplyAdd);
    for (const std::size_t bytes : {0, 2, 30, 32, 34, 64, 126, 1000, 4098}) {
        std::vector<std::uint8_t> in(bytes);
        std::vector<std::uint8_t> base(bytes);
        for (std::size_t i = 0; i < bytes; ++i) {
            in[i] = static_cast<std::uint8_t>(random());
            base[i] = static_cast<std::uint8_t>(random());
        }
        for (const std::uint16_t factor :
             {std::uint16_t{0}, std::uint16_t{1}, std::uint16_t{2}, std::uint16_t{0xFFFF},
              static_cast<std::uint16_t>(random())}) {
            std::vector<std::uint8_t> expected = base;
            for (std::size_t i = 0; i < bytes; i += 2) {
                const std::uint16_t p = GfMultiply(factor, in[i] | in[i + 1] << 8);
                expected[i] ^= static_cast<std::uint8_t>(p);
                expected[i + 1] ^= static_cast<std::uint8_t>(p >> 8);
            }
            for (std::size_t k = 0; k < kernels.size(); ++k) {
                if (factor < 2 && k + 1 < kernels.size()) {
                    continue;  // the kernels take the factors past the plain cases only
                }
                std::vector<std::uint8_t> out = base;
                kernels[k](factor, in.data(), out.data(), bytes);
                EXPECT_EQ(out, expected)
                    << "kernel " << k << ", factor " << factor << ", " << bytes << " bytes";
            }
            std::vector<std::uint8_t> product(bytes);
            GfMultiplyAdd(factor, in.data(), product.data(), bytes);
            std::vector<std::uint8_t> inPlace = in;
            GfMultiply(factor, inPlace.data(), bytes);
            EXPECT_EQ(inPlace, product) << "in place, factor " << factor;
        }
    }
}

}  // namespace
}  // namespace torvanik::par2
