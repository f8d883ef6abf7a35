#include "platform/par2/par2_solve.h"

#include <utility>

#include "platform/par2/gf16.h"

namespace torvanik::par2 {
namespace {

using Row = std::vector<std::uint16_t>;

// row ^= factor * other
void AddMultiple(Row& row, const Row& other, std::uint16_t factor) {
    for (std::size_t k = 0; k < row.size(); ++k) {
        row[k] ^= GfMultiply(factor, other[k]);
    }
}

}  // namespace

// Gauss-Jordan elimination on [A | I], with A[e][j] = c_missing[j] ^ exponents[e]: every
// row stays v*A | v for some v, so once a row's left part is the unit vector of column j,
// its right part is the factors that rebuild missing[j].
std::optional<std::vector<std::vector<std::uint16_t>>> RebuildMatrix(
    const SetLayout& layout, const std::vector<int>& missing,
    const std::vector<std::uint32_t>& exponents) {
    const std::vector<std::uint16_t> constants = SliceConstants(layout);
    const std::size_t columns = missing.size();
    const std::size_t rows = exponents.size();
    if (rows < columns) {
        return std::nullopt;
    }
    std::vector<Row> matrix(rows, Row(columns + rows, 0));
    for (std::size_t e = 0; e < rows; ++e) {
        for (std::size_t j = 0; j < columns; ++j) {
            const auto disk = static_cast<std::size_t>(missing[j]);
            if (disk >= constants.size()) {
                return std::nullopt;
            }
            matrix[e][j] = GfPower(constants[disk], exponents[e]);
        }
        matrix[e][columns + e] = 1;
    }
    for (std::size_t j = 0; j < columns; ++j) {
        std::size_t pivot = j;
        while (pivot < rows && matrix[pivot][j] == 0) {
            ++pivot;
        }
        if (pivot == rows) {
            return std::nullopt;
        }
        std::swap(matrix[j], matrix[pivot]);
        const std::uint16_t inverse = GfInverse(matrix[j][j]);
        for (std::uint16_t& value : matrix[j]) {
            value = GfMultiply(inverse, value);
        }
        for (std::size_t r = 0; r < rows; ++r) {
            if (r != j && matrix[r][j] != 0) {
                AddMultiple(matrix[r], matrix[j], matrix[r][j]);
            }
        }
    }
    std::vector<Row> factors;
    for (std::size_t j = 0; j < columns; ++j) {
        factors.emplace_back(matrix[j].begin() + static_cast<std::ptrdiff_t>(columns),
                             matrix[j].end());
    }
    return factors;
}

}  // namespace torvanik::par2
