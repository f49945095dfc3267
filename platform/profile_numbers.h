#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Numbers in the user store are text. They are read as decimal with an
// optional sign, or as hexadecimal after "0x" or "$" (sign first, if any).
// Surrounding blanks are allowed. Anything else, and values outside the
// 32-bit range, is no whole number.
std::optional<int64_t> ParseWholeNumber(std::string_view text);

// An 8-bit field: the low byte of the number (300 gives 44, 256 gives 0),
// or `def` when the text is no whole number.
uint8_t ProfileByte(std::string_view text, uint8_t def);

// A flag: true for any non-zero whole number, `def` for text that is none.
bool ProfileBool(std::string_view text, bool def);

// The low byte of a whole number, as a field of the record keeps it.
uint8_t KeepInByte(int64_t value);
