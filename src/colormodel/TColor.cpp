#include "colormodel/TColor.h"

#include <cstdint>

namespace tintara {

int MulDiv(int a, int b, int c)
{
    if (c == 0) {
        return -1;
    }
    // |a * b| <= 2^62, so the product is exact in 64 bits; work on magnitudes so that the half rounds
    // away from zero whatever the signs are.
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::uint64_t num =
        product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
    const std::uint64_t den =
        c < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(c)) : static_cast<std::uint64_t>(c);
    std::uint64_t q = num / den;
    if (2 * (num % den) >= den) {
        ++q;
    }
    constexpr std::uint64_t intMax = static_cast<std::uint64_t>(std::numeric_limits<int>::max());
    if (negative && q != 0) {
        if (q > intMax + 1) {
            return -1;
        }
        return static_cast<int>(-static_cast<std::int64_t>(q));
    }
    if (q > intMax) {
        return -1;
    }
    return static_cast<int>(q);
}

} // namespace tintara
