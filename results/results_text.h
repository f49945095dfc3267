#pragma once

#include "results/result_attempts.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The markup of the results page: a heading, the chart picture, and per
// finished attempt the answers right, the average time per question and the
// IQ, with a link to take a finished test again.

// The chart's file in the program's "T\" folder. One fixed name, so a chart
// left by an earlier page (or run) is written over.
inline constexpr const char* kResultsChartFile = "T\\mijnresultaten.png";

inline constexpr const char* kNoResultsText =
    "U heeft nog geen test helemaal gemaakt. Zodra u alle vragen van een test "
    "beantwoord heeft, ziet u hier uw resultaat.";

// Seconds per question with one decimal and a Dutch comma: 12345 ms over 2
// questions gives "6,2". No questions give "0,0".
std::string AverageSecondsText(int64_t totalMs, int questions);

// A day number as "d-m-yyyy", the way dates are written in Dutch.
std::string DutchDateText(double day);

// One attempt's line of the table, without line break:
// "   <right> van <n> goed, gemiddeld <s> s per vraag, IQ=<iq>".
std::string AttemptLine(const TResultAttempt& attempt);

// The whole page. `chartName` is the picture's name for <IMG NAME=...>;
// empty leaves the chart out (no attempts, or it could not be written).
std::string ResultsPageMarkup(const std::vector<TResultAttempt>& attempts,
                              std::string_view chartName);
