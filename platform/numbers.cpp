#include "platform/numbers.h"

#include <cstddef>
#include <limits>

namespace plat {

std::optional<uint64_t> ParseUnsignedDecimal(std::string_view text, uint64_t max) {
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const auto digit = uint64_t(c - '0');
        if (digit > max || value > (max - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<int64_t> ParseSignedDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::optional<uint64_t> magnitude =
        ParseUnsignedDecimal(text, uint64_t(std::numeric_limits<int64_t>::max()));
    if (!magnitude)
        return std::nullopt;
    return negative ? -int64_t(*magnitude) : int64_t(*magnitude);
}

int32_t StrToIntDef(std::string_view text, int32_t def) {
    const std::optional<int64_t> value = ParseSignedDecimal(text);
    if (!value || *value > std::numeric_limits<int32_t>::max() ||
        *value < std::numeric_limits<int32_t>::min())
        return def;
    return int32_t(*value);
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace plat
