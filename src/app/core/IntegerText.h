#pragma once
// Whole numbers read from text the user or a settings file supplies. Nothing here allocates or
// throws: invalid text is reported as an empty optional and the caller picks the fallback.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tintara {

// An optional "+" or "-" followed by one or more decimal digits, nothing else (no spaces), and a
// value that fits a signed 32-bit integer. Leading zeros are fine ("007" is 7).
std::optional<std::int32_t> parseInt32(std::string_view text);

// One or more hexadecimal digits of either case (no prefix, no sign) whose value fits 32 bits.
std::optional<std::uint32_t> parseHexUInt32(std::string_view text);

// Only decimal digits, at least one, value at most `max` (no sign, no spaces).
std::optional<std::uint32_t> parseDigits(std::string_view text, std::uint32_t max);

} // namespace tintara
