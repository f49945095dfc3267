#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The decimal numbers of stored text, in one place. None of them allows
// blanks or anything else around the number.
namespace plat {

// An optional sign and digits, within 64 bits (the smallest value,
// -2^63, is refused with the rest that do not fit as a magnitude).
std::optional<int64_t> ParseSignedDecimal(std::string_view text);

// Digits only, no sign, leading zeros allowed, at most `max`.
std::optional<uint64_t> ParseUnsignedDecimal(std::string_view text, uint64_t max = UINT64_MAX);

// ParseSignedDecimal within 32 bits; anything else gives `def`.
int32_t StrToIntDef(std::string_view text, int32_t def);

// The value of one hexadecimal digit (either letter case), -1 for any other
// character.
int HexDigitValue(char c);

} // namespace plat
