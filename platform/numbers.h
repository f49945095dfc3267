#pragma once

#include <cstdint>
#include <string_view>

namespace plat {

// Decimal text as a 32-bit number: an optional sign and digits only, nothing
// around them. Anything else, or a number out of range, gives `def`.
int32_t StrToIntDef(std::string_view text, int32_t def);

// The value of one hexadecimal digit (either letter case), -1 for any other
// character.
int HexDigitValue(char c);

} // namespace plat
