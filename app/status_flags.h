#pragma once

#include "exam/run_state.h"

#include <cstdint>

// The main window's page and test states, one bit each, as one 16-bit set.
// The log-on and test bits live in the test run's state; the page-visit
// bits in TPageVisits.
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

// Pages opened by their button and not yet left. Leaving the settings page
// saves the profile, so that mark must go exactly once.
struct TPageVisits {
    bool Config = false;
    bool Internet = false;
    bool BkInfo = false;

    uint16_t Flags() const {
        return uint16_t((Config ? sfConfigVisited : 0) | (Internet ? sfInternetVisited : 0) |
                        (BkInfo ? sfBkInfoVisited : 0));
    }
    bool operator==(const TPageVisits&) const = default;
};

inline bool HasFlag(uint16_t flags, uint16_t flag) {
    return (flags & flag) != 0;
}
