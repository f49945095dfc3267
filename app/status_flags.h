#pragma once

#include <cstdint>

// The main window's page and test states, one bit each.
enum TStatusFlag : uint16_t {
    sfLoggedOn = 2,
    sfTestPage = 4,
    sfTestRunning = 8,
    sfTestPaused = 16,
    sfReviewing = 32,
    sfConfigVisited = 64,
    sfInternetVisited = 128,
    sfBkInfoVisited = 256,
};

inline bool HasFlag(uint16_t flags, TStatusFlag flag) {
    return (flags & flag) != 0;
}
inline void SetFlag(uint16_t& flags, TStatusFlag flag) {
    flags = uint16_t(flags | flag);
}
inline void ClearFlag(uint16_t& flags, TStatusFlag flag) {
    flags = uint16_t(flags & ~flag);
}
