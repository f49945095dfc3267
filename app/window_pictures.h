#pragma once

#include <array>
#include <string>

// The window's picture files under I\B\: one per row, named by a base name
// and the size suffix of the layout ("6x4", "8x6", "10x7"), no extension.
enum class TPictureTarget {
    HeaderBk,
    LogOnOffBk,
    ConfigBk,
    InternetBk,
    TestBk,
    BkInfoBk,
    HelpBk,
    SmallUp,   // GlyphUp of the four header buttons
    SmallDown, // GlyphDown of the same
    SmallGrey, // GlyphDisabled of the same
    LargeUp,   // GlyphUp of the fifteen large buttons
    LargeDown, // GlyphDown of the same
    LargeGrey, // GlyphDisabled of the same
};

struct TPictureRow {
    const char* BaseName;
    TPictureTarget Target;
};

// In the order in which they are loaded.
const std::array<TPictureRow, 13>& WindowPictureTable();

// "6x4", "8x6" or "10x7"; empty for a layout that does not exist.
const char* LayoutSuffix(int layoutSize);

// The relative path of a picture, such as "I\\B\\hdbk8x6"; empty for a
// layout that does not exist.
std::string WindowPicturePath(const char* baseName, int layoutSize);
