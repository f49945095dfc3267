#include "results/results_chart_layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr int kTop = 12;
constexpr int kLeft = 44;
constexpr int kRight = 12;
constexpr int kBelowPlot = 36; // attempt numbers and the axis title
constexpr int kLegendRow = 16;
constexpr int kMaxGridLines = 6;

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A grid step that keeps the lines few: 5, 10, 20, 25, 50, 100, ...
int GridStep(int span) {
    static constexpr int kSteps[] = {5, 10, 20, 25, 50};
    for (int scale = 1; scale <= 100000; scale *= 10)
        for (int step : kSteps)
            if (span / (step * scale) <= kMaxGridLines)
                return step * scale;
    return 1000000;
}

} // namespace

std::optional<int> PlottedIQ(std::string_view iqText, bool* aboveNorms) {
    std::string_view text = Trimmed(iqText);
    const bool above = !text.empty() && text.front() == '>';
    if (above)
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value < -100000 || value > 100000)
        return std::nullopt;
    if (aboveNorms)
        *aboveNorms = above;
    return value;
}

int ChartY(const TChartLayout& layout, int value) {
    const double span = std::max(1, layout.High - layout.Low);
    const double share = double(value - layout.Low) / span;
    return layout.Plot.bottom() - int(std::lround(share * (layout.Plot.height() - 1)));
}

uint32_t ChartGroupColour(int legendNo) {
    static constexpr uint32_t kColours[] = {0x1565c0, 0xc62828, 0x2e7d32, 0xef6c00,
                                            0x6a1b9a, 0x00838f, 0x795548, 0xad1457};
    constexpr int n = int(std::size(kColours));
    return kColours[((std::max(legendNo, 1) - 1) % n + n) % n];
}

TChartLayout LayoutChart(const std::vector<TResultAttempt>& attempts, int width) {
    TChartLayout layout;
    width = std::max(width, kChartMinWidth);

    // The legend lists each group once, in catalogue order.
    std::vector<std::pair<int, std::string>> groups;
    for (const TResultAttempt& a : attempts)
        if (std::none_of(groups.begin(), groups.end(),
                         [&](const auto& g) { return g.first == a.GroupNo; }))
            groups.emplace_back(a.GroupNo, a.GroupTitle);
    std::sort(groups.begin(), groups.end());

    const int height = kTop + kChartPlotHeight + kBelowPlot + kLegendRow * int(groups.size()) + 4;
    layout.Size = QSize(width, height);
    layout.Plot = QRect(kLeft, kTop, width - kLeft - kRight, kChartPlotHeight);

    std::vector<int> values;
    for (const TResultAttempt& a : attempts)
        if (const auto v = PlottedIQ(a.IQ))
            values.push_back(*v);
    int low = 80;
    int high = 120;
    if (!values.empty()) {
        const auto [mn, mx] = std::minmax_element(values.begin(), values.end());
        low = int(std::floor((*mn - 5) / 10.0)) * 10;
        high = int(std::ceil((*mx + 5) / 10.0)) * 10;
    }
    layout.Step = GridStep(high - low);
    layout.Low = int(std::floor(double(low) / layout.Step)) * layout.Step;
    layout.High = int(std::ceil(double(high) / layout.Step)) * layout.Step;
    if (layout.High <= layout.Low)
        layout.High = layout.Low + layout.Step;

    const int n = int(attempts.size());
    const QRect& plot = layout.Plot;
    for (int i = 0; i < n; ++i)
        layout.SlotX.push_back(plot.left() + (2 * i + 1) * plot.width() / (2 * n));
    for (int i = 0; i < n; ++i) {
        bool above = false;
        const auto value = PlottedIQ(attempts[std::size_t(i)].IQ, &above);
        if (!value)
            continue;
        TChartMark mark;
        mark.Slot = i;
        mark.GroupNo = attempts[std::size_t(i)].GroupNo;
        for (std::size_t g = 0; g < groups.size(); ++g)
            if (groups[g].first == mark.GroupNo)
                mark.Colour = ChartGroupColour(int(g) + 1);
        mark.Value = *value;
        mark.AboveNorms = above;
        mark.Centre = QPoint(layout.SlotX[std::size_t(i)], ChartY(layout, *value));
        layout.Marks.push_back(mark);
    }

    int y = plot.bottom() + kBelowPlot;
    for (const auto& [groupNo, title] : groups) {
        TChartLegendEntry entry;
        entry.GroupNo = groupNo;
        entry.Colour = ChartGroupColour(int(layout.Legend.size()) + 1);
        entry.Title = title;
        entry.Swatch = QRect(kLeft, y + 3, 10, 10);
        entry.TextOrigin = QPoint(kLeft + 16, y + 12);
        layout.Legend.push_back(entry);
        y += kLegendRow;
    }
    return layout;
}
