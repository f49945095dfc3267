#pragma once

#include "results/result_attempts.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where everything of the results chart goes, computed apart from the
// drawing: the x axis holds the finished attempts in the order they were
// finished, the y axis the IQ. Attempts whose IQ is no number ("n.b.",
// "g.s.") keep their place on the x axis but get no mark.

struct TChartMark {
    QPoint Centre;
    int Slot = 0; // 0-based place on the x axis
    int GroupNo = 0;
    uint32_t Colour = 0; // its group's, 0xRRGGBB
    int Value = 0;
    bool AboveNorms = false; // ">155": drawn at 155 with an arrow up
};

struct TChartLegendEntry {
    int GroupNo = 0;
    uint32_t Colour = 0;
    std::string Title; // Windows-1252, as the content has it
    QRect Swatch;
    QPoint TextOrigin; // base line start of the title
};

struct TChartLayout {
    QSize Size;
    QRect Plot;             // inside the axes
    int Low = 0;            // IQ at the x axis
    int High = 0;           // IQ at the top of the plot
    int Step = 10;          // between grid lines
    std::vector<int> SlotX; // centre of each attempt's place
    std::vector<TChartMark> Marks;
    std::vector<TChartLegendEntry> Legend;
};

inline constexpr int kChartMarkRadius = 4;
inline constexpr int kChartPlotHeight = 150;
inline constexpr int kChartMinWidth = 200;

// The number an IQ text stands for: a whole number as is, ">155" as 155
// (marked above the norms); nothing for any other text.
std::optional<int> PlottedIQ(std::string_view iqText, bool* aboveNorms = nullptr);

// The layout for `width` pixels (at least kChartMinWidth).
TChartLayout LayoutChart(const std::vector<TResultAttempt>& attempts, int width);

// The y of an IQ inside the plot.
int ChartY(const TChartLayout& layout, int value);

// The colour of the n-th group in the legend (1-based), 0xRRGGBB, repeating
// after eight groups. Groups get colours in legend order, so the groups a
// user finished tests of never share one unless there are more than eight.
uint32_t ChartGroupColour(int legendNo);
