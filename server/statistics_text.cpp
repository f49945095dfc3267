#include "server/statistics_text.h"

#include <algorithm>

namespace {

void AppendLine(std::string& text, const std::string& key, const std::string& value) {
    text += key;
    text += '=';
    text += value;
    text += "\r\n";
}

int64_t Participants(const TQuestionCounts& counts) {
    return counts.Groups[std::size_t(TGroup::Women)].N + counts.Groups[std::size_t(TGroup::Men)].N;
}

std::string ChoicesValue(const TQuestionCounts& counts, int64_t total) {
    std::string value;
    for (const auto& [choice, n] : counts.Choices) {
        if (n <= 0)
            continue;
        if (!value.empty())
            value += ';';
        value += choice + '=' + std::to_string(Percentage(n, total));
    }
    return value;
}

} // namespace

int64_t Percentage(int64_t part, int64_t whole) {
    return (200 * part + whole) / (2 * whole);
}

std::string BuildStatisticsText(const TCounterTable& table, int64_t minGroup) {
    minGroup = std::max<int64_t>(minGroup, 1);
    std::string text;
    // About 20 bytes a line, up to eight lines a question.
    text.reserve(table.size() * 8 * 24 + 128);
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        text += '[';
        text += kGroupNames[g];
        text += ".Answers]\r\n";
        for (const auto& [key, counts] : table) {
            const TCell& cell = counts.Groups[g];
            if (cell.N >= minGroup)
                AppendLine(text, key, std::to_string(Percentage(cell.Right, cell.N)));
        }
        text += "\r\n";
    }
    text += "[Counts]\r\n";
    for (const auto& [key, counts] : table)
        if (const int64_t total = Participants(counts); total >= minGroup)
            AppendLine(text, key, std::to_string(total));
    text += "\r\n[Choices]\r\n";
    for (const auto& [key, counts] : table)
        if (const int64_t total = Participants(counts); total >= minGroup) {
            const std::string value = ChoicesValue(counts, total);
            if (!value.empty())
                AppendLine(text, key, value);
        }
    return text;
}
