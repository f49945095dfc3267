#pragma once

#include "results/results_chart_layout.h"

#include <QImage>
#include <QString>

class QPainter;

// Drawing of the results chart, a function of the layout alone: white
// ground, grid and axes with their labels, per group a line through its
// marks, a filled circle per mark and a legend.

inline constexpr uint32_t kChartGround = 0xffffff;
inline constexpr uint32_t kChartGrid = 0xdcdcdc;
inline constexpr uint32_t kChartAxis = 0x000000;

void PaintResultsChart(QPainter& painter, const TChartLayout& layout);

// The chart as a picture of layout.Size.
QImage ResultsChartImage(const TChartLayout& layout);

// Writes the chart as PNG to `path`, replacing a file already there. False
// when it could not be written.
bool WriteResultsChart(const TChartLayout& layout, const QString& path);
