#pragma once

#include <cstddef>
#include <cstdint>

// The stored texts of the record database are scrambled byte by byte: 1..127
// and 128..254 swap places (+127 / -127), 0 and 255 stay. The mapping is its
// own inverse, so the same routine scrambles and unscrambles.
namespace recdb {

constexpr uint8_t Unscramble(uint8_t b) {
    if (b == 0 || b == 255)
        return b;
    return b < 128 ? uint8_t(b + 127) : uint8_t(b - 127);
}

// Unscrambles n bytes from src to dst. dst may equal src or lie before it
// (the loader compacts texts in place), never after it.
void UnscrambleCopy(char* dst, const char* src, size_t n);

} // namespace recdb
