#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The current user's record: name, password, identifier, profile and test
// settings. Texts hold at most 255 single-byte characters.
struct TUserProfile {
    std::string Name;
    std::string Pw;
    std::string Uid;
    bool Gender = false; // true for a woman
    uint8_t Age = 0;
    uint8_t HairColor = 0;
    uint8_t EyeColor = 0;
    uint8_t ShoeSize = 0;
    bool DirectFB = false;
    bool TimeLimQ = false;
    uint8_t TimeLimQt = 10; // seconds per question
    bool TimeLimT = false;
    uint8_t TimeLimTt = 10; // minutes per test
};

// Names, passwords and identifiers are short strings of at most this many
// characters; longer texts are cut when they enter the record or the list.
constexpr std::size_t kMaxShortString = 255;

std::string CutShortString(std::string_view text);

// The cleared state: texts empty, numbers 0, booleans false, both time limits 10.
void ClearUser(TUserProfile& user);
