#pragma once

#include "exam/test_run_state.h"

#include <cstdint>

// The main window's page and test states, one bit each. The test states are
// the engine's; the window derives from its state, so inside the window the
// names reach the engine's constants and the helpers take plain bits.
enum TStatusFlag : uint16_t {
    sfLoggedOn = TTestRunState::sfLoggedOn,
    sfTestPage = TTestRunState::sfTestPage,
    sfTestRunning = TTestRunState::sfTestRunning,
    sfTestPaused = TTestRunState::sfTestPaused,
    sfReviewing = TTestRunState::sfReviewing,
    sfConfigVisited = 64,
    sfInternetVisited = 128,
    sfBkInfoVisited = 256,
};

inline bool HasFlag(uint16_t flags, uint16_t flag) {
    return (flags & flag) != 0;
}
inline void SetFlag(uint16_t& flags, uint16_t flag) {
    flags = uint16_t(flags | flag);
}
inline void ClearFlag(uint16_t& flags, uint16_t flag) {
    flags = uint16_t(flags & ~flag);
}
