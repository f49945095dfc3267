#include "platform/profile_numbers.h"

#include "platform/numbers.h"

#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace

std::optional<int64_t> ParseWholeNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    // Hexadecimal runs up to 32 bits unsigned, as the classic conversion
    // reads "$FFFFFFFF" as -1; decimal stays within the signed range.
    const int64_t limit = base == 16 ? int64_t(std::numeric_limits<uint32_t>::max())
                                     : int64_t(std::numeric_limits<int32_t>::max()) + negative;
    int64_t value = 0;
    for (const char c : text) {
        const int digit = plat::HexDigitValue(c);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    if (base == 16 && value > std::numeric_limits<int32_t>::max())
        value -= int64_t(1) << 32;
    return negative ? -value : value;
}

uint8_t KeepInByte(int64_t value) {
    return uint8_t(uint64_t(value) & 0xFF);
}

uint8_t ProfileByte(std::string_view text, uint8_t def) {
    const auto value = ParseWholeNumber(text);
    return value ? KeepInByte(*value) : def;
}

bool ProfileBool(std::string_view text, bool def) {
    const auto value = ParseWholeNumber(text);
    return value ? *value != 0 : def;
}
