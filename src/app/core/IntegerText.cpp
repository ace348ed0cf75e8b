#include "app/core/IntegerText.h"

#include "colormodel/HTMLColors.h"

#include <limits>

namespace tintara {

std::optional<std::uint32_t> parseDigits(std::string_view text, std::uint32_t max)
{
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char ch : text) {
        if (ch < '0' || ch > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(ch - '0');
        // Checked on every digit so that a long run of digits cannot wrap the accumulator.
        if (value > max)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::int32_t> parseInt32(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::uint32_t limit = negative ? std::uint32_t{1} << 31 : std::numeric_limits<std::int32_t>::max();
    const auto magnitude = parseDigits(text, limit);
    if (!magnitude)
        return std::nullopt;
    if (!negative)
        return static_cast<std::int32_t>(*magnitude);
    // -2147483648 has no positive counterpart, so negate in 64 bits.
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(*magnitude));
}

std::optional<std::uint32_t> parseHexUInt32(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char ch : text) {
        const int digit = hexDigitValue(ch);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > std::numeric_limits<std::uint32_t>::max())
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace tintara
