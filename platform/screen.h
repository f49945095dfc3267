#pragma once

#include <QByteArray>
#include <optional>

// Size and colour depth of the primary screen. Tests (and the environment
// variable ZENX_SCREEN, as "WIDTHxHEIGHT" or "WIDTHxHEIGHTxDEPTH") may set them.
namespace plat {

struct ScreenInfo {
    int width = 0;
    int height = 0;
    int depth = 24; // bits per pixel
};

// Precedence: SetScreenOverride, then ZENX_SCREEN, then the primary screen;
// without a GUI application or a screen 640 x 480 x 24.
ScreenInfo Screen();
void SetScreenOverride(const ScreenInfo& info);
void ClearScreenOverride();

// Parses "WIDTHxHEIGHT" or "WIDTHxHEIGHTxDEPTH" (depth 24 when left out);
// nothing for anything else.
std::optional<ScreenInfo> ParseScreenSpec(const QByteArray& text);

} // namespace plat
