#include "ui/integer_box.h"

#include <cstdint>
#include <limits>

namespace integerBox {

bool acceptsTypedCharacter(char32_t c) {
    return c < 32 || (c >= U'0' && c <= U'9') || c == U'-';
}

std::string normalised(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';

    // Accumulate the magnitude, saturating at the 64-bit limit: any value that
    // large clamps to the 32-bit limit below all the same.
    constexpr std::uint64_t limit = std::uint64_t{1} << 63;
    std::uint64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const unsigned digit = static_cast<unsigned>(text[i] - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }

    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    std::int64_t value;
    if (negative)
        value = magnitude > static_cast<std::uint64_t>(-lowest) ? lowest : -static_cast<std::int64_t>(magnitude);
    else
        value = magnitude > static_cast<std::uint64_t>(highest) ? highest : static_cast<std::int64_t>(magnitude);

    if (value == 0) return {}; // a zero shows as an empty box
    return std::to_string(value);
}

} // namespace integerBox
