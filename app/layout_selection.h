#pragma once

#include <optional>

class QWidget;

// The window is designed at 640 x 480 and laid out at one of three sizes,
// always one step smaller than the screen.
struct TLayoutChoice {
    int layoutSize = 0; // 0, 1 or 2 for 640 x 480, 800 x 600, 1024 x 768
    int multiplier = 1;
    int divisor = 1;
};

// Nothing when the screen is too small for the smallest layout.
std::optional<TLayoutChoice> ChooseLayout(int screenWidth, int screenHeight);

// Scales the position, size and own font size of `root`'s descendants (and
// of root's own size and font) by multiplier / divisor. Font sizes are
// multiplied first and then divided as whole numbers. Positions and sizes
// are rounded to the nearest pixel, except that a control meeting its
// parent's right or bottom edge, or a sibling, in the design still meets it
// after scaling.
void ScaleControls(QWidget* root, int multiplier, int divisor);

// The item height of an owner-drawn list grows by 1.25 or 1.6, rounded.
int ScaleItemHeight(int height, int layoutSize);
