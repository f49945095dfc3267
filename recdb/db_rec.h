#pragma once

#include <cstdint>
#include <string_view>

// One record of the record database as the rest of the program sees it. The
// texts are zero-terminated and owned by the TiDbRecFile that produced the
// record; they stay valid until that database is loaded again or destroyed.
struct TDbRec {
    int32_t RecNo = 0;
    uint16_t KeyLen = 0;
    uint16_t BodyLen = 0;
    const char* Key = nullptr;  // none when KeyLen is 0
    const char* Body = nullptr; // none when BodyLen is 0
    uint8_t Active = 0;

    // The texts as readers take them: up to the first zero byte.
    std::string_view KeyText() const { return Key ? std::string_view(Key) : std::string_view(); }
    std::string_view BodyText() const { return Body ? std::string_view(Body) : std::string_view(); }
};

// The four "|"-separated parts of a key text. Missing parts are empty, text
// after a fourth "|" is ignored and each part keeps at most 255 characters.
struct TKeyParts {
    std::string_view Kind, Part2, Part3, Part4;
};

TKeyParts SplitKey(std::string_view key);
